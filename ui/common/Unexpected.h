#pragma once

#include <windows.h>

#include <exception>
#include <optional>

namespace claverix::ui {

// Tells the user about an error nothing expected (`what` is UTF-8) at the
// edge of a window procedure, where it must stop.
void ReportUnexpected(HWND window, const char* what);

// Runs a window procedure's `handler`, which answers a message or leaves it
// to the default procedure with nullopt. An exception it throws stops here:
// the user is told, and the message is left to the default procedure.
template <typename Handler>
std::optional<LRESULT> AnswerReportingUnexpected(HWND window, Handler&& handler) {
    try {
        return handler();
    } catch (const std::exception& error) {
        ReportUnexpected(window, error.what());
    } catch (...) {
        ReportUnexpected(window, "?");
    }
    return std::nullopt;
}

}  // namespace claverix::ui
