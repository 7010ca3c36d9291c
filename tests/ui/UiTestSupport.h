// Shared set-up of the window tests: one QApplication for the process,
// settings kept in a temporary file, message boxes and desktop hand-overs
// recorded instead of shown, and listing files written on the fly.
#pragma once

#include "ListingDocument.h"
#include "OpenDocument.h"
#include "ScriptedPrompter.h"
#include "UserSettings.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kovra::testing {

// Creates the application (offscreen platform) once, with the viewer's
// application set-up.
QApplication& App();

// Columns of one listing line (UTF-8 texts, 0-based); everything not given
// stays empty.  Written to disk as CP932.
using Columns = std::map<int, std::string>;

// A sale listing of land with number "K-<n>", land area n*10+5, four roads
// and a member block: the columns the window tests look at.
Columns SaleListing(int n);

// Writes the lines (a header line first when `header`) as a CP932 file with
// CR LF and returns its path.
QString WriteListingFile(const QString& dir, const QString& name, const std::vector<Columns>& listings,
                         bool header = true);
QString WriteRawFile(const QString& dir, const QString& name, const std::string& utf8Text);

// A message box the windows showed.
struct ShownMessage {
    Tone icon = Tone::Plain;
    QString text;
    Choices buttons = Choices::Ok;
    QWidget* owner = nullptr;
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file the next window reads (section, key, value).
    void StoreSetting(const QString& section, const QString& key, const QString& value);
    QString SettingsFile() const;

    QString Path(const QString& name) const { return tmp_.filePath(name); }

    // What was handed to the desktop (browser, mail program, text viewer).
    std::vector<QUrl> Opened() const;

    QTemporaryDir tmp_;
    // What a window set holds: the settings and the open file.
    services::TUserSettings settings_;
    TOpenDocument document_;
    std::vector<ShownMessage> messages_;
    // Records every message in messages_; a test may script it further.
    std::optional<ScriptedPrompter> prompter_;
};

} // namespace kovra::testing
