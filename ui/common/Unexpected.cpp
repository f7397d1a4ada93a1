#include "ui/common/Unexpected.h"

#include <string>
#include <utility>

#include "engine/Reporting.h"
#include "ui/common/MessageBoxes.h"

namespace claverix::ui {

namespace {

void TellTheUser(HWND window, std::string_view what) {
    ShowMessageBox(window, "Erreur inattendue : " + std::string(what), engine::kAppTitle,
                   MB_OK | MB_ICONERROR);
}

UnexpectedErrorSink& Sink() {
    static UnexpectedErrorSink sink = TellTheUser;
    return sink;
}

}  // namespace

UnexpectedErrorSink SetUnexpectedErrorSink(UnexpectedErrorSink sink) {
    return std::exchange(Sink(), std::move(sink));
}

void ReportUnexpected(HWND window, std::string_view what) {
    Sink()(window, what);
}

}  // namespace claverix::ui
