// Helpers of the print engine tests: a GUI application for the whole run,
// files made from CP932 text, and a message collector.
#pragma once

#include <gtest/gtest.h>

#include "EngineJob.h"
#include "Imageout.h"
#include "ScriptedPrompter.h"

#include <QImage>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace petest {

// UTF-8 lines joined with CR LF and converted to CP932.
std::string Cp932Lines(const std::vector<std::string>& utf8Lines, bool finalNewline = true);

// A file in a temporary folder holding `bytes`; returns its path.
std::string WriteTempFile(QTemporaryDir& dir, const std::string& name, const std::string& bytes);

// Collects the engine's messages while it lives.
class MessageLog {
public:
    MessageLog();
    std::vector<std::string> messages;

private:
    kovra::testing::ScriptedPrompter prompter_;
};

// An open in-memory file.
dorvex::PrintFile MemFile(const std::vector<std::string>& utf8Lines, bool finalNewline = true);

// Draws the pages (each a list of lines) in order on one white image, as
// pages of `job` (origin, display offset, images said).
QImage RenderScene(dorvex::TEngineJob& job, const std::vector<std::vector<std::string>>& pages,
                   QSize size = {240, 160}, int zoom = 10, double dpi = 96.0);
// The same as a job of its own.
QImage RenderScene(const std::vector<std::vector<std::string>>& pages, QSize size = {240, 160}, int zoom = 10,
                   double dpi = 96.0);

// Compares with tests/printengine/ref/NAME.png; KOVRA_UPDATE_REFERENCES=1
// writes the reference instead.  Small differences (anti-aliased edges of
// glyphs) are tolerated.
::testing::AssertionResult MatchesReference(const QImage& image, const char* name);

} // namespace petest
