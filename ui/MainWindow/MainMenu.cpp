#include "ui/MainWindow/MainMenu.h"

#include <cwctype>
#include <span>
#include <string_view>

#include "ui/MainWindow/MainWindowIds.h"

namespace claverix::ui {

namespace {

// A caption's "&" comes before its access key; a "\t" before the name of
// the item's shortcut, which the window carries out. A null caption is a
// separator.
struct MenuItem {
    int id;
    const wchar_t* caption;
};

struct Menu {
    const wchar_t* caption;
    std::span<const MenuItem> items;
};

// One item a line, as the menus show them.
// clang-format off
constexpr MenuItem kFileItems[] = {
    {IDM_MERGE, L"&Fusionner"},
    {IDM_PREVIEW, L"A&perçu de la fusion\tCtrl+P"},
    {IDM_ADD_FILES, L"&Importer"},
    {IDM_VIEW_RESTORATION, L"Fichier de resta&uration"},
    {IDM_QUIT, L"&Quitter"},
};
constexpr MenuItem kEditItems[] = {
    {IDM_FIND, L"&Recherche\tCtrl+F"},
    {IDM_FIND_NEXT, L"Recherche &suivant\tF3"},
};
constexpr MenuItem kCommandItems[] = {
    {IDM_SIGN, L"&Signer"},
    {IDM_NO_RESTORATION, L"&Pas de restauration"},
    {IDM_OPTIONS, L"&Options"},
    {IDM_REFRESH, L"&Actualiser\tF5"},
    {IDM_REGISTER_OPENER, L"Ouvrir les fichiers .reg avec Clave&rix"},
};
constexpr MenuItem kHelpItems[] = {
    {IDM_ABOUT, L"&A Propos"},
};

constexpr MenuItem kFileShortcutItems[] = {
    {IDM_MERGE, L"&Fusionner"},
    {IDM_PREVIEW, L"A&perçu de la fusion"},
    {IDM_VIEW_RESTORATION, L"&Voir la restauration"},
    {IDM_DELETE, L"&Supprimer\tSuppr"},
    {0, nullptr},
    {IDM_SHOW_IN_FOLDER, L"&Ouvrir l'emplacement du fichier"},
};
// clang-format on

constexpr Menu kMenuBar[] = {
    {L"&Fichier", kFileItems},
    {L"&Editer", kEditItems},
    {L"&Commandes", kCommandItems},
    {L"&?", kHelpItems},
};

wchar_t AccessKeyOf(std::wstring_view caption) {
    auto ampersand = caption.find(L'&');
    return ampersand + 1 < caption.size() ? caption[ampersand + 1] : L'\0';
}

HMENU CreatePopupMenuOf(std::span<const MenuItem> items) {
    HMENU popup = ::CreatePopupMenu();
    for (const MenuItem& item : items) {
        ::AppendMenuW(popup, item.caption != nullptr ? MF_STRING : MF_SEPARATOR,
                      static_cast<UINT_PTR>(item.id), item.caption);
    }
    return popup;
}

}  // namespace

HMENU CreateMainMenuBar() {
    HMENU bar = ::CreateMenu();
    for (const Menu& menu : kMenuBar) {
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenuOf(menu.items)), menu.caption);
    }
    return bar;
}

HMENU CreateFileShortcutMenu() {
    return CreatePopupMenuOf(kFileShortcutItems);
}

bool IsMainMenuAccessKey(wchar_t character) {
    for (const Menu& menu : kMenuBar) {
        if (std::towlower(AccessKeyOf(menu.caption)) == std::towlower(character)) {
            return true;
        }
    }
    return false;
}

}  // namespace claverix::ui
