#include "ui/MainWindow/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace claverix::ui {

namespace {

// Windows' classic sizable frame with a menu bar: 4-pixel borders, a
// 19-pixel caption and a 19-pixel menu bar, at 96 DPI.
constexpr double kClassicFrameWidth = 2 * 4 * 15;
constexpr double kClassicFrameHeight = (4 + 19 + 19 + 4) * 15;

void KeepInside(TwipsRect& rect, double clientWidth, double clientHeight) {
    rect.width = std::min(rect.width, clientWidth - rect.left);
    rect.height = std::min(rect.height, clientHeight - rect.top);
}

}  // namespace

MainLayout LayOut(double clientWidth, double clientHeight) {
    MainLayout l;
    const double w = clientWidth + kClassicFrameWidth;
    const double h = clientHeight + kClassicFrameHeight;
    l.filList.left = 50;
    l.filList.top = l.cmdListe.top + l.cmdListe.height + 50;
    // The button's height counts twice: the list ends clear of the window's bottom edge.
    l.filList.height = h - l.cmdListe.height - l.cmdListe.height - 300;
    l.cmdListe.left = l.filList.left;
    l.cmdListe.width = l.filList.width;
    const double column = std::round(l.filList.width + l.filList.left + 50);
    l.cmdApply.left = column;
    l.chkSigne.left = column;
    l.chkNoUndo.left = l.chkSigne.left + l.chkSigne.width;
    l.txtComment.top = l.chkNoUndo.top + l.chkNoUndo.height + 50;
    l.txtComment.left = column;
    l.txtComment.width = w - column - 255;
    l.txtComment.height = (h - l.chkNoUndo.top - l.chkNoUndo.height - 255) / 2 - 255;
    l.txtContent.top = l.txtComment.top + l.txtComment.height + 50;
    l.txtContent.left = l.txtComment.left;
    l.txtContent.width = l.txtComment.width;
    l.txtContent.height = l.txtComment.height;
    l.cmdShowUndo.left = w - l.cmdShowUndo.width - 255;
    l.cmdPreview.left = l.cmdApply.left + l.cmdApply.width + 60;
    l.previewButtonFits = l.cmdPreview.left + l.cmdPreview.width + 60 <= l.cmdShowUndo.left;
    for (TwipsRect* rect : {&l.cmdListe, &l.filList, &l.cmdApply, &l.chkSigne, &l.chkNoUndo, &l.txtComment,
                            &l.txtContent, &l.cmdShowUndo, &l.cmdPreview}) {
        KeepInside(*rect, clientWidth, clientHeight);
    }
    return l;
}

}  // namespace claverix::ui
