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
    l.fileList.left = 50;
    l.fileList.top = l.listModeButton.top + l.listModeButton.height + 50;
    // The button's height counts twice: the list ends clear of the window's bottom edge.
    l.fileList.height = h - l.listModeButton.height - l.listModeButton.height - 300;
    l.listModeButton.left = l.fileList.left;
    l.listModeButton.width = l.fileList.width;
    const double column = std::round(l.fileList.width + l.fileList.left + 50);
    l.mergeButton.left = column;
    l.signedBox.left = column;
    l.noRestorationBox.left = l.signedBox.left + l.signedBox.width;
    l.commentBox.top = l.noRestorationBox.top + l.noRestorationBox.height + 50;
    l.commentBox.left = column;
    l.commentBox.width = w - column - 255;
    l.commentBox.height = (h - l.noRestorationBox.top - l.noRestorationBox.height - 255) / 2 - 255;
    l.contentBox.top = l.commentBox.top + l.commentBox.height + 50;
    l.contentBox.left = l.commentBox.left;
    l.contentBox.width = l.commentBox.width;
    l.contentBox.height = l.commentBox.height;
    l.viewRestorationButton.left = w - l.viewRestorationButton.width - 255;
    l.previewButton.left = l.mergeButton.left + l.mergeButton.width + 60;
    l.previewButtonFits = l.previewButton.left + l.previewButton.width + 60 <= l.viewRestorationButton.left;
    for (TwipsRect* rect : {&l.listModeButton, &l.fileList, &l.mergeButton, &l.signedBox, &l.noRestorationBox,
                            &l.commentBox, &l.contentBox, &l.viewRestorationButton, &l.previewButton}) {
        KeepInside(*rect, clientWidth, clientHeight);
    }
    return l;
}

}  // namespace claverix::ui
