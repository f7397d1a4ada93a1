#include "ui/AboutBox/AboutBox.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/SystemInformation.h"
#include "engine/Reporting.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "ui/common/ProgramIcon.h"
#include "ui/common/Shell.h"

namespace claverix::ui {

namespace {

// "Version " and the program's major, minor and revision numbers, as its
// version resource gives them; empty when it has none.
std::wstring VersionText() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    DWORD ignored = 0;
    using platform::win32::SystemFunction;
    static const auto versionInfoSize =
        SystemFunction<decltype(&::GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    static const auto versionInfo =
        SystemFunction<decltype(&::GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    static const auto queryValue =
        SystemFunction<decltype(&::VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    std::vector<BYTE> block(versionInfoSize(path.c_str(), &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (block.empty() || !versionInfo(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !queryValue(block.data(), L"\\", reinterpret_cast<void**>(&info), &size) || size < sizeof *info) {
        return {};
    }
    return L"Version " + std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(info->dwFileVersionLS));
}

bool StartInNormalWindow(const std::string& path) {
    std::wstring file = platform::win32::Utf8ToWide(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The tool may ask for elevation, which only the shell can give.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return Execute(info);
}

}  // namespace

AboutBox::AboutBox(platform::Platform& platform) : platform_(platform) {}

bool AboutBox::Load(HWND owner) {
    std::wstring title = platform::win32::Utf8ToWide(engine::kAppTitle);
    if (!Create(DialogSetup(L"À propos de " + title, owner, 5730, 3555))) {
        return false;
    }
    CreateControls();
    titleLabel_.SetText(title);
    versionLabel_.SetText(VersionText());
    ShowProgramIcon();
    PlaceControls();
    PlaceClientAt({2340, 1935});
    okButton_.Focus();
    return true;
}

void AboutBox::CreateControls() {
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
    constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    okButton_.Create(*this,
                     {WC_BUTTONW, L"OK", kButton | BS_DEFPUSHBUTTON, 0, IDOK, {4245, 2625, 1260, 345}});
    iconPicture_.Create(*this, {WC_STATICW,
                                L"",
                                WS_VISIBLE | SS_ICON | SS_CENTERIMAGE,
                                WS_EX_CLIENTEDGE,
                                IDC_ABOUT_ICON,
                                {240, 240, 540, 540}});
    systemInfoButton_.Create(*this, {WC_BUTTONW,
                                     L"&Infos système...",
                                     kButton | BS_PUSHBUTTON,
                                     0,
                                     IDC_ABOUT_SYSINFO,
                                     {4260, 3075, 1245, 345}});
    descriptionLabel_.Create(
        *this, {WC_STATICW,
                L"Utilitaire de gestion de fichiers REG. Faites toutes vos remarques à l'adresse ",
                kLabel,
                0,
                IDC_ABOUT_DESCRIPTION,
                {1050, 1125, 3885, 930}});
    disclaimerLabel_.Create(*this, {WC_STATICW, L" ", kLabel, 0, 0, {240, 2400, 3870, 1035}});
    titleLabel_.Create(*this, {WC_STATICW, L"", kLabel, 0, IDC_ABOUT_TITLE, {1050, 240, 3885, 480}});
    versionLabel_.Create(*this, {WC_STATICW, L"", kLabel, 0, IDC_ABOUT_VERSION, {1050, 780, 3885, 225}});
}

// The program's icon at the size of a large icon at the window's DPI.
void AboutBox::ShowProgramIcon() {
    int size = MetricAt(SM_CXICON, Dpi());
    UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM),
                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    iconPicture_.Send(STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()));
    icon_ = std::move(icon);  // the previous icon goes once the box no longer shows it
}

void AboutBox::OnPaint(HDC context) {
    auto pixels = [this](double twips) { return TwipsToPixels(twips, Dpi()); };
    int thin = std::max(1, ScaledPixels(1, Dpi()));
    int y = pixels(2280);
    RECT grey{pixels(120), y, pixels(5684), y + thin};
    RECT white{pixels(105), y + thin, pixels(5654), y + 3 * thin};
    UniqueGdiObject greyBrush(::CreateSolidBrush(RGB(128, 128, 128)));
    ::FillRect(context, &grey, static_cast<HBRUSH>(greyBrush.Get()));
    ::FillRect(context, &white, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

// Starts the tool in a normal window that takes the focus, without waiting
// for it, or tells the user that it is not available.
void AboutBox::StartSysInfo() {
    std::optional<std::string> tool = app::FindSysInfo(platform_);
    if (!tool || !StartInNormalWindow(*tool)) {
        engine::ShowMessage(platform_, "Les informations système ne sont pas disponibles actuellement");
    }
}

void AboutBox::OnCommand(int id, int) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
            Close();
            break;
        case IDC_ABOUT_SYSINFO:
            StartSysInfo();
            break;
    }
}

void AboutBox::OnDpiChanged() {
    ShowProgramIcon();
}

}  // namespace claverix::ui
