#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string_view>

namespace claverix::ui {

// Where an error that nothing expected goes, at the edge of a window
// procedure: `what` is UTF-8. By default the user is told in a message box;
// tests put in a sink that fails the running test instead.
using UnexpectedErrorSink = std::function<void(HWND window, std::string_view what)>;

// Puts `sink` in place; returns the one it replaces.
UnexpectedErrorSink SetUnexpectedErrorSink(UnexpectedErrorSink sink);

void ReportUnexpected(HWND window, std::string_view what);

// Runs a window procedure's `handler`, which answers a message or leaves it
// to the default procedure with nullopt. An exception it throws stops here:
// it goes to the sink, and the message is left to the default procedure.
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
