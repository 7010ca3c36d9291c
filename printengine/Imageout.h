// The format/data file language and its renderer.
//
// Both files are CP932 text read as bytes: fields are cut at ";" byte by byte
// (the separator never occurs inside a double-byte character), and only the
// text and font fields are converted to UTF-8.  Positions are in 0.1 mm.
#pragma once

#include "JapaneseFaces.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace dorvex {

struct TEngineJob;

// The largest format or data file read.  Both are one language and one
// reader; a data file of a report of every listing of a big export file
// runs to hundreds of megabytes.
inline constexpr std::uint64_t kPrintFileSizeLimit = 1ull << 30;
// The largest image file an "I" item reads.
inline constexpr std::uint64_t kImageFileSizeLimit = 256ull << 20;

// A format or data file: read whole when opened, then served line by line
// like a sequential text file (line ends CR LF, CR or LF).
class PrintFile {
public:
    // Binds the file to a path without reading it.
    void bind(const std::string& utf8Path) { path_ = utf8Path; }
    const std::string& path() const { return path_; }
    const std::string& bytes() const { return data_; }

    // Reads the bound file.  A file that cannot be read (only regular files
    // are, up to kPrintFileSizeLimit) says so and is served as an empty file.
    bool open();
    // Serves bytes held in memory (tests, fuzzing, benchmarks).
    void openBytes(std::string bytes);
    void close();
    bool isOpen() const { return open_; }

    void reset() { pos_ = 0; }
    bool eof() const { return pos_ >= lines_.size(); }
    std::string_view readLine();

    std::size_t position() const { return pos_; }
    std::size_t lineCount() const { return lines_.size(); }
    // Page (from 1) that the line at `lineIndex` belongs to: one more than
    // the number of page-end lines before it.
    int pageAt(std::size_t lineIndex) const;
    // Number of lines beginning with "E" or "e".
    std::size_t pageEndCount() const { return pageEnds_.size(); }

    // Fast form of SkipPages from the first line; same result and position.
    bool skipFromStart(long long page, bool cyclic);

private:
    void index();
    struct Span { std::size_t off, len; };
    std::string path_;
    std::string data_;
    std::vector<Span> lines_;
    std::vector<std::size_t> pageEnds_; // indices of the "E"/"e" lines
    std::size_t pos_ = 0;
    bool open_ = false;
};

// ---- the language ----

// The field that begins at the job's FieldCursor (1-based) in `line`;
// advances the cursor past its separator.
std::string_view NextField(TEngineJob& job, std::string_view line, char separator = ';');
// A decimal integer with optional sign after leading blanks, nothing after
// the digits, within 32 bits.
bool ParseIntField(std::string_view field, int& value);
int IntField(TEngineJob& job, std::string_view line, int defaultValue = 0);
// A text or name field, converted from CP932 to UTF-8.
std::string TextField(TEngineJob& job, std::string_view line);

// Adds to `into` the image files the "I" lines of `bytes` (a format or data
// file) name, as written there (UTF-8; relative ones lie in the current
// folder), each once.
void AddImageFiles(std::string_view bytes, std::vector<std::string>& into);

// Empty path: false without a word.  An existing file: bound, true.
// Otherwise the not-found message and false.
bool OpenIfExists(PrintFile& file, const std::string& utf8Path);
int CountPages(const std::string& utf8Path);
int CountPagesOf(const PrintFile& openFile);
bool SkipPages(PrintFile& file, long long page, bool cyclic);
// PageTotal from the job's open files (a file not open counts one page),
// CurrentPage 1.
void CountPreviewPages(TEngineJob& job);
void ReadPaperSizeLine(TEngineJob& job, PrintFile& file);
void ReadMarginLine(TEngineJob& job, PrintFile& file);
void ReadOffsetLine(TEngineJob& job, PrintFile& file);

// ---- rendering ----

// The drawing state of one surface, kept from command to command and from
// the format page to the data page drawn over it, as a device context keeps
// its selected font, pen and brush.
class Canvas {
public:
    // `painter` may be null: the page is then read without drawing.
    // `printerPage`: the surface is the printer's (or the PDF's) page.
    explicit Canvas(QPainter* painter = nullptr, bool printerPage = false);
    void setPainter(QPainter* painter);
    QPainter* painter() const { return painter_; }
    bool printerPage() const { return printerPage_; }

    // Font
    QString fontFace = QStringLiteral("ＭＳ 明朝"); // as written in the file
    int fontHeight = 0;  // logical units, negative = character height
    bool bold = false, italic = false, underline = false, strikeOut = false;
    QColor fontColour = Qt::black;
    int charset = 0;
    // Pen
    int penWidth = 0;
    int penStyle = 0;
    QColor penColour = Qt::black;
    // Brush and background
    QColor brushColour() const { return brushColour_; }
    int brushStyle() const { return brushStyle_; }
    void setBrushColour(const QColor& c);
    void setBrushStyle(int style);
    bool backgroundOpaque() const { return bgOpaque_; }
    QColor backgroundColour() const { return bgColour_; }
    void setBackgroundTransparent() { bgOpaque_ = false; }
    // The background follows the brush when a drawing call follows a change
    // of the brush.
    void realizeBrush();

    // The font the last text item was drawn with (style, face, height).
    QFont lastFont;
    // False: "I" items never touch the file system (fuzzing).
    bool readImageFiles = true;
    // Images read during this job, by path.
    std::map<std::string, QImage> imageCache;
    QTransform baseTransform;

private:
    QPainter* painter_ = nullptr;
    bool printerPage_ = false;
    QColor brushColour_ = Qt::white;
    int brushStyle_ = 0;
    bool brushChanged_ = true;
    bool bgOpaque_ = true;
    QColor bgColour_ = Qt::white;
};

// Draws from the file's current line to the end of the page.  True when the
// file ended, false when an "E" line ended the page.  `canvas` may be null
// (the page is only read past).  The job gives the origin, the display
// offset and the field cursor; `file` is one of its files.
bool DrawPage(TEngineJob& job, PrintFile& file, Canvas* canvas, int zoom, double scaleX, double scaleY);

// Rounds to the nearest integer, halves to even.
long long RoundHalfEven(double v);

// Paper size in mm for a printer paper code; writes the job's PaperState.
bool PaperSizeFromCode(TEngineJob& job, int code, int& widthMm, int& heightMm);
QColor ColourFromCode(int code);

// Per-character-set font lists: 128 Shift-JIS, 2 Symbol, 238 East European,
// 255 OEM.  Built from the font database once a Qt GUI application exists.
void BuildCharsetFontLists();
const QStringList& CharsetFontList(int charset);
// Character set a face name is drawn with (after the substitution below).
int CharsetOfFace(const QString& face);
// The installed face that stands in for a Windows Japanese face name
// ("ＭＳ 明朝" → IPAMincho, …); the name itself when it is installed or has
// no stand-in.
// A face that is not installed and has no row in the table falls back to
// the installed face of its kind (JapaneseFaces.h).
QString SubstituteFace(const QString& face);
// The kind of face a name asks for.
kovra::FaceKind KindOfFace(const QString& face);
// The font the renderer draws a face's texts with: the stand-in, asking for
// a fixed pitch only where the face asked for has one.
QFont FontForFace(const QString& face);

// Library start-up work that needs a running Qt GUI application (font
// lists); safe to call often, does its work once.
void EnsureEngineStarted();

} // namespace dorvex
