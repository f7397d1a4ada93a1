#include "ui/MainWindow/FileBoxes.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "ui/common/Window.h"

namespace claverix::ui {

void ContentBox::Create(Window& parent, const ControlSetup& setup, std::function<void()> onDoubleClick) {
    LongTextBox::Create(parent, setup);
    parent.FilterMessages(hwnd(),
                          [this, onDoubleClick = std::move(onDoubleClick)](
                              UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                              if (message != WM_LBUTTONDBLCLK) {
                                  return std::nullopt;
                              }
                              LRESULT result = ::DefSubclassProc(hwnd(), message, wParam, lParam);
                              onDoubleClick();
                              return result;
                          });
}

void CommentBox::Create(Window& parent, const ControlSetup& setup, std::function<void()> onLeft) {
    Control::Create(parent, setup);
    Send(EM_SETLIMITTEXT, 0);
    parent.FilterMessages(hwnd(),
                          [this, &parent, onLeft = std::move(onLeft)](
                              UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                              switch (message) {
                                  case WM_KILLFOCUS:
                                      if (::IsChild(parent.hwnd(), reinterpret_cast<HWND>(wParam))) {
                                          onLeft();
                                      }
                                      break;
                                  case WM_LBUTTONDBLCLK: {
                                      LRESULT result = ::DefSubclassProc(hwnd(), message, wParam, lParam);
                                      Send(EM_SETSEL, 0, -1);
                                      return result;
                                  }
                              }
                              return std::nullopt;
                          });
}

}  // namespace claverix::ui
