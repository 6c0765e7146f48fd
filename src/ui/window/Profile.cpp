#include "ui/window/Profile.h"

#include <array>
#include <utility>

namespace trawlix::ui {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 24> kColumnDefaults{{
    {"HISTORY_COLUMN_NUMBER", 41},
    {"HISTORY_COLUMN_DATE", 80},
    {"HISTORY_COLUMN_URL", 229},
    {"HISTORY_COLUMN_TIME", 65},
    {"HISTORY_COLUMN_PAGES", 50},
    {"HISTORY_COLUMN_PHOTOS", 50},
    {"PROJECTLINKS_COLUMN_NUMBER", 41},
    {"PROJECTLINKS_COLUMN_DATE", 72},
    {"PROJECTLINKS_COLUMN_URL", 442},
    {"PROJECTLINKS_COLUMN_PHOTOS", 59},
    {"IMPORT_COLUMN_PROJECTNAME", 219},
    {"IMPORT_COLUMN_LINKS", 69},
    {"IMPORT_COLUMN_PHOTOS", 69},
    {"IMPORT_COLUMN_CATEGORY", 117},
    {"IMPORT_RESULTS_COLUMN_PROJECTNAME", 156},
    {"IMPORT_RESULTS_COLUMN_ACTION", 83},
    {"IMPORT_RESULTS_COLUMN_RESULT", 405},
    {"EXPORT_COLUMN_PROJECTNAME", 218},
    {"EXPORT_COLUMN_LINKS", 69},
    {"EXPORT_COLUMN_PHOTOS", 69},
    {"EXPORT_COLUMN_CATEGORY", 117},
    {"FINDPROJECT_COLUMN_NAME", 223},
    {"FINDPROJECT_COLUMN_CATEGORY", 146},
    {"FINDPROJECT_COLUMN_LINKS", 64},
}};

constexpr int kUnknownColumnWidth = 100;
// A stored width outside this range (a hand-edited or damaged profile) would hide the column
// or push the others out of sight.
constexpr int kMinimumColumnWidth = 8;
constexpr int kMaximumColumnWidth = 4000;

QString ColumnsKey(std::string_view key) {
  return QStringLiteral("Columns/") +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

const QString kStartsWithKey = QStringLiteral("Options/FINDPROJECT_STARTSWITH");
const QString kContainsKey = QStringLiteral("Options/FINDPROJECT_CONTAINS");
const QString kFindTextKey = QStringLiteral("Options/TO_FIND");
const QString kWelcomeShownKey = QStringLiteral("Window/WelcomeShown");

}  // namespace

Profile::Profile() : settings_(QStringLiteral("Quillmoor"), QStringLiteral("Trawlix() PRO")) {}

std::optional<int> Profile::DefaultColumnWidth(std::string_view key) {
  for (const auto& [name, width] : kColumnDefaults) {
    if (name == key) return width;
  }
  return std::nullopt;
}

int Profile::ColumnWidth(std::string_view key) const {
  const int fallback = DefaultColumnWidth(key).value_or(kUnknownColumnWidth);
  bool ok = false;
  const int width = settings_.value(ColumnsKey(key)).toInt(&ok);
  if (!ok || width < kMinimumColumnWidth || width > kMaximumColumnWidth) return fallback;
  return width;
}

void Profile::SetColumnWidth(std::string_view key, int width) {
  settings_.setValue(ColumnsKey(key), width);
}

QString Profile::FindText() const {
  return settings_.value(kFindTextKey).toString();
}

void Profile::SetFindText(const QString& text) {
  settings_.setValue(kFindTextKey, text);
}

bool Profile::FindStartsWith() const {
  // Both flags are kept, one per radio button; "Contains" wins only when it alone is set.
  const bool startsWith = settings_.value(kStartsWithKey, 1).toInt() != 0;
  const bool contains = settings_.value(kContainsKey, 0).toInt() != 0;
  return startsWith || !contains;
}

void Profile::SetFindStartsWith(bool startsWith) {
  settings_.setValue(kStartsWithKey, startsWith ? 1 : 0);
  settings_.setValue(kContainsKey, startsWith ? 0 : 1);
}

bool Profile::WelcomeShown() const {
  return settings_.value(kWelcomeShownKey, false).toBool();
}

void Profile::SetWelcomeShown() {
  settings_.setValue(kWelcomeShownKey, true);
}

void Profile::Sync() {
  settings_.sync();
}

}  // namespace trawlix::ui
