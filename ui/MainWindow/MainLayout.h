#pragma once

#include "ui/common/Geometry.h"

namespace claverix::ui {

// Where the main window's moving controls are, in twips of its client area;
// each field is named as the window's member it places.
struct MainLayout {
    TwipsRect listModeButton{120, 0, 1575, 375};
    TwipsRect fileList{120, 840, 2415, 1455};
    TwipsRect mergeButton{2280, 0, 1095, 375};
    TwipsRect signedBox{2280, 360, 855, 255};
    TwipsRect noRestorationBox{4200, 360, 1815, 255};
    TwipsRect commentBox{2760, 1080, 1695, 2295};
    TwipsRect contentBox{4560, 1080, 2295, 2295};
    TwipsRect viewRestorationButton{5880, 0, 1095, 375};
    // Beside "Fusionner", shown only where it fits before "Voir restaur.".
    TwipsRect previewButton{0, 0, 1095, 375};
    bool previewButtonFits = false;
};

// The main window's layout rule for a client area: from the places the
// controls were drawn at (MainLayout's defaults), step after step, each step
// reading what the earlier ones have set. The rule's margins were drawn for the outer size of a window with
// the classic frame: it takes that size, whatever the real frame, and then keeps every control inside the
// client area, which the classic numbers overrun by a few pixels at the bottom and thicker frames would
// overrun more. Sizes may come out negative for a tiny window.
MainLayout LayOut(double clientWidth, double clientHeight);

}  // namespace claverix::ui
