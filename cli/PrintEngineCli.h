// Shared by `kovra render` and `kovra report --pdf`: the print engine needs
// a Qt GUI application for fonts and painting, which the listing commands
// never start.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace kovra::cli {

// A QGuiApplication for the running subcommand (the offscreen platform when
// no display is there); null when one exists already.
std::unique_ptr<QGuiApplication> StartPrintEngineGui();

// Qt's PDF writer grows and frees a page buffer on every sheet; without some
// slack at the top of the heap glibc gives the memory back to the system
// each time, which costs more than the drawing itself.  No-op elsewhere.
void KeepHeapSlackForPdf();

} // namespace kovra::cli
