#include "ui/MainWindow/MainLayout.h"

#include <cmath>

namespace claverix::ui {

void LayOut(MainLayout& l, double outerWidth, double outerHeight) {
    const double w = outerWidth;
    const double h = outerHeight;
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
}

}  // namespace claverix::ui
