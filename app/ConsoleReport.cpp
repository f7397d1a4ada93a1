#include "app/ConsoleReport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <numeric>

#include "app/JsonWriter.h"
#include "engine/Reporting.h"

namespace claverix::app {

namespace {

// CMTrace's types, which its viewer colours.
enum class Severity { Information = 1, Warning = 2, Error = 3 };

// What a file's outcome word says, to a person and to a log viewer.
struct OutcomeWords {
    std::string_view word;
    std::string_view french;
    Severity severity;
    bool checked;  // the registry was read back: the counts mean something
};

constexpr OutcomeWords kOutcomes[] = {
    {"all-took", "importé", Severity::Information, true},
    {"partly-took", "importé en partie", Severity::Warning, true},
    {"nothing-took", "rien n'a été importé", Severity::Error, true},
    {"not-started", "non importé : l'éditeur du Registre n'a pas pu être lancé", Severity::Error, false},
    {"elevation-refused", "non importé : l'élévation a été refusée", Severity::Error, false},
    {"declined", "non importé : une question a reçu la réponse Non", Severity::Warning, false},
    {"blocked", "non importé : il ne peut pas l'être sans risque, ou sa restauration n'a pas pu être écrite",
     Severity::Error, false},
    {"file-changed", "non importé : le fichier a changé depuis son analyse", Severity::Error, false},
    {"no-change", "rien à changer", Severity::Information, false},
    {"changes-pending", "modifications en attente", Severity::Information, false},
    {"refused", "aperçu impossible : le fichier ne peut pas être importé sans risque", Severity::Error,
     false},
    {"applied", "appliqué", Severity::Information, true},
    {"not-applied", "non appliqué", Severity::Warning, true},
    {"undone", "défait : un autre fichier de la commande n'a pas été importé en entier", Severity::Warning,
     false},
    {"undo-failed", "importé, mais n'a pas pu être défait", Severity::Error, false},
};

struct FrenchWord {
    std::string_view word;
    std::string_view french;
};

constexpr FrenchWord kWarnings[] = {
    {"system-hive", "HKEY_CURRENT_USER est ici la ruche du compte SYSTEM, pas celle d'un utilisateur"},
    {"policy-keys",
     "des clés de stratégie (…\\Policies\\…) seront rétablies par la prochaine actualisation des stratégies"},
    {"utf8-file",
     "fichier enregistré en UTF-8 : l'éditeur du Registre le lit dans la page de codes "
     "(/convert-utf8 l'enregistre d'abord en UTF-16)"},
};

constexpr FrenchWord kQuestions[] = {
    {"unsigned-file", "le fichier n'est pas signé"},
    {"uncovered-keys", "la restauration ne pourrait pas couvrir certaines clés"},
    {"created-since", "des clés et des valeurs créées depuis la fusion seraient supprimées"},
    {"changed-since", "des valeurs modifiées depuis la fusion seraient écrasées"},
    {"system-hive", "HKEY_CURRENT_USER est la ruche du compte SYSTEM"},
    {"utf8-file", "le fichier est enregistré en UTF-8"},
};

// A word without its French here is said as it is.
template <std::size_t N>
std::string_view FrenchFor(const FrenchWord (&table)[N], std::string_view word) {
    auto found = std::find_if(std::begin(table), std::end(table),
                              [word](const FrenchWord& entry) { return entry.word == word; });
    return found == std::end(table) ? word : found->french;
}

OutcomeWords OutcomeOf(const FileReport& file) {
    auto found = std::find_if(std::begin(kOutcomes), std::end(kOutcomes),
                              [&](const OutcomeWords& entry) { return entry.word == file.outcome; });
    if (found != std::end(kOutcomes)) {
        return *found;
    }
    return {file.outcome, file.outcome, file.exitCode == 0 ? Severity::Information : Severity::Error, false};
}

Severity SeverityOf(const FileReport& file) {
    Severity severity = OutcomeOf(file).severity;
    return file.warnings.empty() ? severity : std::max(severity, Severity::Warning);
}

std::string_view ActionWord(ConsoleAction action) {
    switch (action) {
        case ConsoleAction::WhatIf:
            return "whatif";
        case ConsoleAction::Verify:
            return "verify";
        case ConsoleAction::Undo:
            return "undo";
        case ConsoleAction::Help:
            return "help";
        case ConsoleAction::Merge:
            break;
    }
    return "merge";
}

std::string_view ChangeWord(Change change) {
    switch (change) {
        case Change::KeyCreated:
            return "key-created";
        case Change::KeyDeleted:
            return "key-deleted";
        case Change::Added:
            return "added";
        case Change::Changed:
            return "changed";
        case Change::Deleted:
            return "deleted";
        case Change::Unchanged:
            return "unchanged";
        case Change::Unknown:
            return "unknown";
        case Change::Skipped:
            break;
    }
    return "skipped";
}

// Windows writes console text and logs with CR LF.
constexpr std::string_view kLineEnd = "\r\n";

std::string IsoTime(const platform::LocalTime& time) {
    int offset = std::abs(time.minutesAheadOfUtc);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond,
                  time.minutesAheadOfUtc < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string Taken(std::size_t checked, std::size_t missed) {
    return std::to_string(checked - std::min(missed, checked)) + "/" + std::to_string(checked);
}

// "keys 2/3 values 5/6": taken out of checked.
std::string CountsText(const FileReport& file) {
    return "keys " + Taken(file.keysChecked, file.keysMissed) + " values " +
           Taken(file.valuesChecked, file.valuesMissed);
}

std::string FileName(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void StringArray(JsonWriter& json, std::string_view key, const std::vector<std::string>& texts) {
    json.Key(key).BeginArray();
    for (const std::string& text : texts) {
        json.String(text);
    }
    json.EndArray();
}

void OptionalString(JsonWriter& json, std::string_view key, const std::optional<std::string>& text) {
    json.Key(key);
    text ? json.String(*text) : json.Null();
}

void RowJson(JsonWriter& json, const PreviewRow& row) {
    json.BeginObject()
        .Key("key")
        .String(row.key)
        .Key("value")
        .String(row.value)
        .Key("type")
        .String(row.type)
        .Key("now")
        .String(row.now)
        .Key("after")
        .String(row.after)
        .Key("change")
        .String(ChangeWord(row.change))
        .Key("policy")
        .Bool(row.policy)
        .Key("note")
        .String(row.note)
        .EndObject();
}

void FileJson(JsonWriter& json, const FileReport& file) {
    json.BeginObject().Key("path").String(file.path).Key("outcome").String(file.outcome);
    json.Key("exitCode").Integer(file.exitCode);
    OptionalString(json, "restoration",
                   file.restorationPath.empty() ? std::nullopt : std::optional(file.restorationPath));
    OptionalString(json, "declinedQuestion", file.declinedQuestion);
    OptionalString(json, "answeringFlag", file.answeringFlag);
    StringArray(json, "warnings", file.warnings);
    json.Key("counts")
        .BeginObject()
        .Key("keysChecked")
        .Integer(file.keysChecked)
        .Key("valuesChecked")
        .Integer(file.valuesChecked)
        .Key("keysMissed")
        .Integer(file.keysMissed)
        .Key("valuesMissed")
        .Integer(file.valuesMissed)
        .EndObject();
    StringArray(json, "notTaken", file.firstMissed);
    StringArray(json, "messages", file.messages);
    json.Key("skippedLines").BeginArray();
    for (const SkippedLineReport& skipped : file.skipped) {
        json.BeginObject().Key("line").Integer(skipped.line).Key("reason").String(skipped.reason).EndObject();
    }
    json.EndArray().Key("rows").BeginArray();
    for (const PreviewRow& row : file.rows) {
        RowJson(json, row);
    }
    json.EndArray().EndObject();
}

void AppendLine(std::string& text, std::string_view indent, std::string_view line) {
    text.append(indent).append(line).append(kLineEnd);
}

std::string MissingCounts(const FileReport& file) {
    return engine::Counted(file.keysMissed, "clé", "clés") + " et " +
           engine::Counted(file.valuesMissed, "valeur", "valeurs") + " manquantes";
}

void AppendFileText(std::string& text, const FileReport& file, bool withRows) {
    OutcomeWords outcome = OutcomeOf(file);
    std::string heading = FileName(file.path) + " : " + std::string(outcome.french);
    AppendLine(text, "", outcome.checked ? heading + " (" + MissingCounts(file) + ")" : heading);
    constexpr std::string_view kIndent = "  ";
    if (!file.restorationPath.empty()) {
        AppendLine(text, kIndent, "Restauration : " + file.restorationPath);
    }
    for (const std::string& message : file.messages) {
        AppendLine(text, kIndent, message);
    }
    for (const std::string& warning : file.warnings) {
        AppendLine(text, kIndent, "Attention : " + std::string(FrenchFor(kWarnings, warning)));
    }
    if (file.declinedQuestion) {
        std::string question =
            "Réponse Non à la question : " + std::string(FrenchFor(kQuestions, *file.declinedQuestion));
        AppendLine(text, kIndent,
                   file.answeringFlag ? question + " (l'option " + *file.answeringFlag + " y répond Oui)."
                                      : question + ".");
    }
    if (!file.firstMissed.empty()) {
        text.append(kIndent).append("Manque dans le Registre :");
        engine::AppendList(text, file.firstMissed, file.keysMissed + file.valuesMissed);
        text.append(kLineEnd);
    }
    if (withRows) {
        // The table's rows name the lines passed over.
        std::vector<std::size_t> all(file.rows.size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        AppendLine(text, kIndent, PreviewSummary(file.rows));
        text += RowsAsText(file.rows, all);
        return;
    }
    for (const SkippedLineReport& skipped : file.skipped) {
        AppendLine(text, kIndent, "Ligne " + std::to_string(skipped.line) + " ignorée : " + skipped.reason);
    }
}

struct LogEvent {
    std::string file;
    std::string restoration;
    std::string outcome;
    std::string detail;  // the counts, or the error's text
    Severity severity;
};

std::vector<LogEvent> LogEvents(const RunReport& report) {
    std::vector<LogEvent> events;
    for (const std::string& error : report.errors) {
        events.push_back({"", "", "error", error, Severity::Error});
    }
    for (const FileReport& file : report.files) {
        std::string detail = CountsText(file);
        for (const std::string& warning : file.warnings) {
            detail.append(" warning ").append(warning);  // said in the log as in the JSON
        }
        events.push_back({file.path, file.restorationPath, file.outcome, detail, SeverityOf(file)});
    }
    return events;
}

std::string PlainLine(const RunReport& report, const LogEvent& event) {
    std::string line = IsoTime(report.started);
    for (std::string_view field :
         {std::string_view(report.computer), std::string_view(report.user), ActionWord(report.action),
          std::string_view(event.file), std::string_view(event.restoration), std::string_view(event.outcome),
          std::string_view(event.detail)}) {
        line.append("\t").append(OnOneLine(std::string(field)));
    }
    return line;
}

// CMTrace's time ends with the bias, in minutes, that gives UTC when added:
// the opposite of the offset. Its own logs write UTC's as "+000".
std::string CmTraceTime(const platform::LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.hour, time.minute, time.second,
                  time.millisecond);
    int bias = -time.minutesAheadOfUtc;
    return text + (bias == 0 ? std::string("+000") : (bias > 0 ? "+" : "") + std::to_string(bias));
}

std::string CmTraceLine(const RunReport& report, const LogEvent& event) {
    std::string message = std::string(ActionWord(report.action));
    if (!event.file.empty()) {
        message.append(" ").append(event.file);
    }
    message.append(": ").append(event.outcome).append(", ").append(event.detail);
    if (!event.restoration.empty()) {
        message.append(", restoration ").append(event.restoration);
    }
    message.append(", computer ").append(report.computer).append(", user ").append(report.user);
    char date[16];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", report.started.month, report.started.day,
                  report.started.year);
    return "<![LOG[" + OnOneLine(message) + "]LOG]!><time=\"" + CmTraceTime(report.started) + "\" date=\"" +
           date + "\" component=\"Claverix\" context=\"\" type=\"" +
           std::to_string(static_cast<int>(event.severity)) + "\" thread=\"" +
           std::to_string(report.threadId) + "\" file=\"\">";
}

}  // namespace

std::string ReportJson(const RunReport& report) {
    JsonWriter json;
    json.BeginObject()
        .Key("schemaVersion")
        .Integer(kJsonSchemaVersion)
        .Key("action")
        .String(ActionWord(report.action))
        .Key("started")
        .String(IsoTime(report.started))
        .Key("computer")
        .String(report.computer)
        .Key("user")
        .String(report.user)
        .Key("runsAsSystem")
        .Bool(report.runsAsSystem)
        .Key("registryView")
        .Integer(report.registryView)
        .Key("archive")
        .String(report.archive)
        .Key("exitCode")
        .Integer(report.exitCode);
    StringArray(json, "errors", report.errors);
    json.Key("files").BeginArray();
    for (const FileReport& file : report.files) {
        FileJson(json, file);
    }
    json.EndArray().EndObject();
    return json.Text();
}

std::string ReportText(const RunReport& report) {
    std::string text;
    for (const std::string& error : report.errors) {
        AppendLine(text, "", "Erreur : " + error);
    }
    for (const FileReport& file : report.files) {
        AppendFileText(text, file, report.action == ConsoleAction::WhatIf && !file.rows.empty());
    }
    return text;
}

std::string LogLines(const RunReport& report, LogFormat format) {
    std::string lines;
    for (const LogEvent& event : LogEvents(report)) {
        lines.append(format == LogFormat::CmTrace ? CmTraceLine(report, event) : PlainLine(report, event))
            .append(kLineEnd);
    }
    return lines;
}

std::string HelpText() {
    // Laid out as the system's own commands lay out theirs, in 80 columns.
    constexpr std::string_view kHelp = R"(
Fusionne des fichiers de Registre (.reg) sans risque : avant chaque fusion,
l'état présent de tout ce que le fichier va changer est enregistré dans un
fichier de restauration, qui le remet en place une fois fusionné à son tour.

Usage :
  CLAVERIX fichier.reg [fichier2.reg ...] [options]
  CLAVERIX /whatif fichier.reg [fichier2.reg ...] [options]
  CLAVERIX /verify fichier.reg [fichier2.reg ...] [options]
  CLAVERIX /undo fichier.reg [options]
  CLAVERIX /undo:last [options]
  CLAVERIX /?

  fichier.reg
     Fusionne chaque fichier à son tour, chacun dans sa propre transaction.
     Si un fichier ne peut pas être fusionné ou n'est pas importé en entier,
     les fichiers déjà fusionnés par la commande sont défaits, du plus récent
     au plus ancien, sauf avec /keep-partial.

  /whatif
     N'écrit rien : affiche, clé par clé et valeur par valeur, ce que la
     fusion changerait, et les lignes que l'éditeur du Registre ignorerait.

  /verify
     Lit seulement : dit si tout ce que les fichiers définissent et suppriment
     est dans le Registre (une seule ligne quand tout y est).

  /undo fichier.reg
     Fusionne sans risque un fichier de restauration, avec ses questions.

  /undo:last
     Fusionne le fichier de restauration le plus récent de l'archive.

Options :
  /quiet
     N'affiche aucune fenêtre. Chaque question reçoit la réponse de l'option
     qui y répond, sinon Non : la commande se termine alors avec le code 6 et
     nomme cette option.

  /yes
     Répond Oui à la question posée pour un fichier non signé.

  /allow-uncovered
     Répond Oui quand la restauration ne pourrait pas couvrir certaines clés.

  /allow-overwrite
     Répond Oui quand une annulation écraserait des valeurs modifiées depuis
     la fusion qu'elle défait.

  /allow-delete
     Répond Oui quand une annulation supprimerait des clés et des valeurs
     créées depuis la fusion qu'elle défait.

  /allow-system-hkcu
     Répond Oui quand HKEY_CURRENT_USER est la ruche du compte SYSTEM, et non
     celle d'un utilisateur.

  /convert-utf8
     Enregistre d'abord en UTF-16 un fichier enregistré en UTF-8, que
     l'éditeur du Registre lirait dans la page de codes.

  /keep-partial
     Garde les fichiers déjà fusionnés quand un fichier suivant échoue.

  /json
     Écrit le compte rendu en JSON (UTF-8) sur la sortie standard.

  /log:CHEMIN
     Ajoute au fichier CHEMIN une ligne par fichier traité et par erreur.

  /logformat:cmtrace
     Écrit ces lignes au format de Configuration Manager (CMTrace).

  /archive:DOSSIER
     Prend DOSSIER pour archive : les fichiers de restauration y sont écrits,
     et /undo:last y prend le plus récent.

  /reg:32
     Lit et écrit la vue 32 bits du Registre.

  /reg:64
     Lit et écrit la vue 64 bits du Registre (par défaut).

  /?
     Affiche cette aide.

Codes de sortie :
  0   Tout a été importé, tout est appliqué (/verify), ou il n'y a rien à
      changer (/whatif).
  1   Erreur inattendue.
  2   Importé en partie.
  3   Rien n'a été importé.
  4   L'éditeur du Registre n'a pas pu être lancé.
  5   L'élévation a été refusée.
  6   Une question a reçu la réponse Non.
  7   Le fichier ne peut pas être importé sans risque, ou son fichier de
      restauration n'a pas pu être écrit.
  10  Des modifications sont en attente (/whatif).
  11  Les fichiers ne sont pas tous appliqués (/verify).
  12  Ligne de commande non comprise.
)";
    std::string help;
    for (char c : kHelp.substr(1)) {  // past the raw text's opening line end
        if (c == '\n') {
            help += '\r';
        }
        help += c;
    }
    return help;
}

}  // namespace claverix::app
