#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/Preview.h"
#include "ui/PreviewWindow/PreviewWindowIds.h"
#include "ui/common/Controls.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// What a merge of a file would do, before it is done: every key it creates
// or deletes, every value it adds, changes, deletes or leaves as it is, with
// the data now and after, and the lines the importer would pass over. A list
// of any length shows at once: it asks for the rows it draws. A click on a
// column's heading sorts on it; Ctrl+C copies the selected rows as text. A
// key too long for its cell keeps its last components in view, since they
// tell the rows apart; the mouse over a cell cut short shows its whole text.
class PreviewWindow final : public Dialog {
public:
    // `note`, when given, is said under the summary.
    PreviewWindow(std::wstring fileName, std::vector<app::PreviewRow> rows, std::wstring note = {});

private:
    bool Load(HWND owner) override;
    void CreateControls();
    void AddColumns();
    void SortOn(int column);
    void CopySelection();
    std::wstring CellShown(int item, int column) const;
    RECT CellRect(int item, int column) const;
    RECT TextRoom(RECT cell) const;
    bool IsCutShort(int item, int column, const std::wstring& text) const;
    void GiveWholeCell(NMLVGETINFOTIPW& tip) const;
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw) const;
    void DrawKeyCell(const NMLVCUSTOMDRAW& draw) const;

    void OnCommand(int id, int code) override;
    void OnSize(UINT kind) override;
    std::optional<LRESULT> OnNotify(NMHDR& header) override;
    void OnContextMenu(HWND control, std::optional<POINT> screen) override;
    KeyHandling OnControlKey(KeyEvent event, WPARAM key) override;
    void OnDpiChanged() override;

    std::wstring fileName_;
    std::vector<app::PreviewRow> rows_;
    std::wstring note_;
    std::vector<std::size_t> order_;  // the rows in the order shown
    int sortColumn_ = -1;
    bool ascending_ = true;
    std::wstring shownCell_;  // the text the list is drawing, kept until it asks for the next

    Control summary_;
    Control list_;
    Control closeButton_;
};

// Draws `path` on one line, centred in the height of `room`: a path too wide
// keeps its start and its last component, with "..." in between, as
// Explorer shows one (a last component too wide alone is cut at its end).
// Returns the text drawn.
std::wstring DrawPath(HDC context, const std::wstring& path, RECT room);

}  // namespace claverix::ui
