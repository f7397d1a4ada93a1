// Drives claverix.exe through the windows a reviewer wants to see, for
// scripts/screenshots.sh, which captures the screen of its virtual display:
//
//   claverix_screenshots <claverix.exe> <work directory>
//
// The work directory holds "archive" with its Reg and RegUnDO files; the
// program runs from a copy in "program" there. When a window is ready, the
// driver writes "<name>.shot" into the work directory, holding the window's
// screen rectangle in pixels ("left top width height"), and waits until the
// script has taken the picture and deleted the file.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/ArchivePaths.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/UserActions.h"
#include "ui/MainWindow/MainWindowIds.h"
#include "ui/common/WindowClassName.h"

namespace {

using namespace claverix;
using platform::win32::UniqueKernelHandle;

constexpr char kSignature[] = "Claire Martin";
constexpr DWORD kCaptureTimeout = 60000;
constexpr DWORD kExitTimeout = 30000;

// claverix.exe, started from its own directory; ended with this object when still running.
class Program {
public:
    explicit Program(const std::string& executable, const std::string& arguments = {}) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string commandLine = "\"" + executable + "\"" + (arguments.empty() ? "" : " " + arguments);
        std::string directory = std::filesystem::path(executable).parent_path().string();
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.c_str(), &startup, &process)) {
            throw std::runtime_error("cannot start " + executable);
        }
        ::CloseHandle(process.hThread);
        process_.Reset(process.hProcess);
        id_ = process.dwProcessId;
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { ::TerminateProcess(process_.Get(), 1); }

    HWND Window(const wchar_t* title, const wchar_t* className = nullptr) const {
        HWND window = tests::WaitForWindow(id_, title, className);
        if (window == nullptr) {
            throw std::runtime_error("claverix.exe shows no window \"" + platform::win32::WideToUtf8(title) +
                                     "\"");
        }
        return window;
    }

    void WaitForEnd() const {
        if (::WaitForSingleObject(process_.Get(), kExitTimeout) != WAIT_OBJECT_0) {
            throw std::runtime_error("claverix.exe did not end");
        }
    }

private:
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// Lets the window handle what it was sent and paint it all.
void Settle(HWND window) {
    ::SetForegroundWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, kCaptureTimeout, nullptr);
    ::Sleep(500);
}

RECT Screen() {
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// The window's rectangle on the screen, in pixels, less what lies off it.
RECT OnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    RECT screen = Screen();
    ::IntersectRect(&rect, &rect, &screen);
    return rect;
}

// Waits until `window` is gone from the screen.
void WaitUntilHidden(HWND window, const std::string& name) {
    for (DWORD waited = 0; ::IsWindowVisible(window); waited += 100) {
        if (waited > kExitTimeout) {
            throw std::runtime_error("the window of " + name + " did not close");
        }
        ::Sleep(100);
    }
}

class Camera {
public:
    explicit Camera(std::string work) : work_(std::move(work)) {}

    // Asks the script to take a picture of `window` and waits until it has.
    void Capture(const std::string& name, HWND window) const {
        Settle(window);
        CaptureRect(name, OnScreen(window));
    }

    // The same, of a part of the screen that has been drawn.
    void CaptureRect(const std::string& name, const RECT& rect) const {
        std::string request = work_ + "\\" + name + ".shot";
        std::string pending = request + ".pending";
        std::ofstream(pending) << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' '
                               << rect.bottom - rect.top << '\n';
        // Renamed once complete: the script never reads half a request.
        if (!::MoveFileExA(pending.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            throw std::runtime_error("cannot write " + request);
        }
        for (DWORD waited = 0; std::filesystem::exists(request); waited += 100) {
            if (waited > kCaptureTimeout) {
                throw std::runtime_error("nobody took the picture " + name);
            }
            ::Sleep(100);
        }
    }

    // Opens a window from the main window's menu, takes its picture and closes it.
    void CaptureOpened(const Program& program, HWND main, int menuId, const wchar_t* title,
                       const std::string& name) const {
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(menuId, 0), 0);
        HWND opened = program.Window(title);
        Capture(name, opened);
        ::PostMessageW(opened, WM_CLOSE, 0, 0);
        WaitUntilHidden(opened, name);
    }

    // Right-clicks the list's second entry, takes the main window with the
    // shortcut menu over it, and closes the menu.
    void CaptureShortcutMenu(const Program& program, HWND main, const std::string& name) const {
        Settle(main);
        HWND list = ::GetDlgItem(main, ui::IDC_MAIN_FILE_LIST);
        RECT entry{};
        ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
        POINT point{(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2};
        ::ClientToScreen(list, &point);
        // Posted: the menu is modal, and this process is the one to close it.
        ::PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(point.x, point.y));
        HWND menu = program.Window(L"", L"#32768");
        ::Sleep(500);
        CaptureOver(main, menu, name);
        ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntilHidden(menu, name);
    }

    // Edits the content of the file shown and clicks the list's second entry:
    // takes the main window with the question whether to save the edit, and
    // answers No.
    void CaptureSaveQuestion(const Program& program, HWND main, const std::string& name) const {
        HWND content = ::GetDlgItem(main, ui::IDC_MAIN_CONTENT);
        ::SendMessageW(content, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"[HKEY_CURRENT_USER\\Software\\Modifi\u00E9]\r\n"));
        ::SendMessageW(content, EM_SETMODIFY, TRUE, 0);
        HWND list = ::GetDlgItem(main, ui::IDC_MAIN_FILE_LIST);
        RECT entry{};
        ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
        LPARAM point = MAKELPARAM((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
        // Posted: the question is modal, and this process is the one to answer it.
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::PostMessageW(list, WM_LBUTTONUP, 0, point);
        HWND question = program.Window(L"AVERTISSEMENT");
        CaptureOver(main, question, name);
        ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        WaitUntilHidden(question, name);
    }

    // Takes `main` with `popup` over it.
    void CaptureOver(HWND main, HWND popup, const std::string& name) const {
        RECT both{};
        RECT popupRect = OnScreen(popup);
        RECT mainRect = OnScreen(main);
        ::UnionRect(&both, &mainRect, &popupRect);
        CaptureRect(name, both);
    }

private:
    std::string work_;
};

// Selects the list's first file as a click on it does.
void SelectFirstFile(HWND main) {
    tests::ClickListItem(::GetDlgItem(main, ui::IDC_MAIN_FILE_LIST), 0);
}

// No settings beside the program: the signature prompt, then the options dialog.
void CaptureFirstStart(const Camera& camera, const std::string& executable) {
    Program program(executable);
    HWND prompt = program.Window(L"Initialisation");
    camera.Capture("initialisation", prompt);
    tests::PostClick(prompt, IDOK);
    camera.Capture("options-first-start", program.Window(L"Options"));
}

std::string SettingsOf(const std::string& executable) {
    return std::filesystem::path(executable).replace_filename("claverix.Ini").string();
}

// Its message boxes have the main window's title too: the class tells them apart.
HWND MainWindowOf(const Program& program) {
    return program.Window(L"Claverix", ui::kWindowClassName);
}

// Settings pointing at the archive: the main window, and what it opens.
void CaptureMainWindow(const Camera& camera, const std::string& executable, const std::string& archive) {
    std::string settings = SettingsOf(executable);
    ::WritePrivateProfileStringA("Options", "ArchivePath", archive.c_str(), settings.c_str());
    ::WritePrivateProfileStringA("Options", "Signature", kSignature, settings.c_str());
    Program program(executable);
    HWND main = MainWindowOf(program);
    SelectFirstFile(main);
    camera.Capture("main-registry-files", main);
    camera.CaptureShortcutMenu(program, main, "shortcut-menu");
    SelectFirstFile(main);  // the right click selected the second
    camera.CaptureSaveQuestion(program, main, "save-question");
    SelectFirstFile(main);  // the right click selected the second
    camera.CaptureOpened(program, main, ui::IDM_VIEW_RESTORATION, L"Fichier de restauration",
                         "restoration-viewer");
    camera.CaptureOpened(program, main, ui::IDM_PREVIEW,
                         L"Aper\u00E7u de la fusion de Afficher les extensions de fichiers.reg", "preview");
    tests::Click(::GetDlgItem(main, ui::IDC_MAIN_LIST_MODE));
    SelectFirstFile(main);
    camera.Capture("main-restoration-files", main);
    camera.CaptureOpened(program, main, ui::IDM_FIND, L"Recherche", "search");
    camera.CaptureOpened(program, main, ui::IDM_OPTIONS, L"Options", "options");
    camera.CaptureOpened(program, main, ui::IDM_ABOUT, L"À propos de Claverix", "about");
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    program.WaitForEnd();
}

// The place a previous run stored: the whole screen, the window where it was
// (within a 1280 x 1024 screen at 144 DPI).
void CaptureStoredPlace(const Camera& camera, const std::string& executable) {
    std::string settings = SettingsOf(executable);
    const std::pair<const char*, const char*> place[] = {
        {"Left", "1500"}, {"Top", "1500"}, {"Width", "9000"}, {"Height", "6750"}, {"Maximized", "0"}};
    for (auto [key, twips] : place) {
        ::WritePrivateProfileStringA("MainWindow", key, twips, settings.c_str());
    }
    Program program(executable);
    HWND main = MainWindowOf(program);
    Settle(main);
    camera.CaptureRect("main-stored-place", Screen());
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    program.WaitForEnd();
}

// A signed file merged from the command line, which the importer takes in
// part (the registry refuses a key name of 300 characters): the
// message that says what did not take and offers the undo, answered No.
void CaptureCheck(const Camera& camera, const std::string& executable, const std::string& work) {
    const char* demoKey = "Software\\Claverix D\xE9mo";
    // Missing, as at the first run: its deep key is then never opened.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, demoKey);
    const std::string key = "[HKEY_CURRENT_USER\\" + std::string(demoKey);
    std::string deepFolder;
    while (deepFolder.size() < 300) {
        deepFolder += "Dossier tr\xE8s profond ";
    }
    std::string file = work + "\\Affichage des dossiers.reg";
    std::ofstream(file, std::ios::binary)
        << "REGEDIT4\r\n# sign:" << kSignature << "\r\n\r\n"
        << key << "]\r\n\"Affichage\"=\"D\xE9tails\"\r\n\"Colonnes\"=dword:00000004\r\n\r\n"
        << key << "\\" << deepFolder << "]\r\n\"Vue\"=dword:00000001\r\n";
    Program program(executable, "\"" + file + "\"");
    HWND message = program.Window(L"AVERTISSEMENT");
    camera.Capture("check-partly-taken", message);
    ::PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    program.WaitForEnd();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, demoKey);
}

void Run(const std::string& claverix, const std::string& work) {
    // Rectangles in the screen's pixels, whatever the DPI.
    ::SetProcessDPIAware();
    // No tooltip shows where the pointer rests.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    std::string program = work + "\\program";
    // The main window writes its handler-registration file there.
    std::filesystem::create_directories(engine::JoinPath(program, engine::kHandlerRegistrationDirectoryName));
    std::string executable = program + "\\claverix.exe";
    std::filesystem::copy_file(claverix, executable, std::filesystem::copy_options::overwrite_existing);
    Camera camera(work);
    CaptureFirstStart(camera, executable);
    CaptureMainWindow(camera, executable, work + "\\archive");
    CaptureCheck(camera, executable, work);
    CaptureStoredPlace(camera, executable);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: claverix_screenshots <claverix.exe> <work directory>\n");
        return 2;
    }
    try {
        Run(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "claverix_screenshots: %s\n", error.what());
        return 1;
    }
}
