// The renderer: one page of the language drawn with QPainter on any paint
// device, keeping a device context's habits (selected font, pen and brush
// survive from item to item; the background follows the brush).
#include "Imageout.h"

#include "EngineJob.h"
#include "FileIO.h"
#include "JapaneseFaces.h"
#include "Messages.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace dorvex {
namespace {

// Bounds that keep absurd values from exhausting time or memory: about
// 20 m of paper at 1200 dpi, and glyphs no taller than a large poster.
constexpr double kMaxDevice = 1 << 20;
constexpr int kMaxPenDevice = 1 << 14;
constexpr int kMaxFontPixels = 1 << 13;

int ClampDevice(double v)
{
    return int(std::clamp(v, -kMaxDevice, kMaxDevice));
}

struct Mapping {
    double sx, sy;
    int ox, oy;
    int offX, offY;
    int x(int v) const { return ClampDevice(double(RoundHalfEven(v * sx)) + 1 - offX) + ox; }
    int y(int v) const { return ClampDevice(double(RoundHalfEven(v * sy)) + 1 - offY) + oy; }
    int width(int w) const { return int(std::clamp<long long>(RoundHalfEven(w * sx), 0, kMaxPenDevice)); }
    int cornerW(int w) const { return int(std::clamp<long long>(RoundHalfEven(w * sx) + 1, -kMaxDevice, kMaxDevice)); }
    int cornerH(int h) const { return int(std::clamp<long long>(RoundHalfEven(h * sy) + 1, -kMaxDevice, kMaxDevice)); }
};

inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

Qt::PenStyle QtPenStyle(int style)
{
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine; // 0, 6 (inside frame) and unknown numbers
    }
}

Qt::BrushStyle QtBrushStyle(int style)
{
    switch (style) {
    case 1: return Qt::NoBrush;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::FDiagPattern;
    case 5: return Qt::BDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern; // 0 and unknown numbers
    }
}

bool IsBrokenPen(int style) { return style >= 1 && style <= 4; }

// Rectangle from two corners in the way of the device context: normalised,
// right and bottom edges excluded.
QRect CornerRect(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
}

QPen MakePen(const Canvas& c, int deviceWidth, bool forGaps)
{
    QPen pen(forGaps ? c.backgroundColour() : c.penColour);
    pen.setWidth(deviceWidth);
    pen.setStyle(forGaps ? Qt::SolidLine : QtPenStyle(c.penStyle));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Strokes `path` with the canvas pen; the gaps of a broken pen take the
// background colour when the background is opaque.
void StrokeWithPen(QPainter& p, const Canvas& c, int deviceWidth, const QPainterPath& path)
{
    if (c.penStyle == 5)
        return;
    p.setBrush(Qt::NoBrush);
    if (IsBrokenPen(c.penStyle) && c.backgroundOpaque()) {
        p.setPen(MakePen(c, deviceWidth, true));
        p.drawPath(path);
    }
    p.setPen(MakePen(c, deviceWidth, false));
    p.drawPath(path);
}

QBrush CanvasBrush(const Canvas& c)
{
    return QBrush(c.brushColour(), QtBrushStyle(c.brushStyle()));
}

// Which of "B", "I", "U", "S", "BI", "BU", "BS", "IU", "IS", "BIU", "BIS".
bool ApplyStyleCode(Canvas& c, std::string_view style)
{
    std::string s;
    for (char ch : style)
        s.push_back(Upper(ch));
    static const char* const kCodes[] = {"B", "I", "U", "S", "BI", "BU", "BS", "IU", "IS", "BIU", "BIS"};
    for (const char* code : kCodes) {
        if (s == code) {
            c.bold = s.find('B') != std::string::npos;
            c.italic = s.find('I') != std::string::npos;
            c.underline = s.find('U') != std::string::npos;
            c.strikeOut = s.find('S') != std::string::npos;
            return true;
        }
    }
    return false;
}

struct FontLists {
    QStringList lists[4]; // 128, 2, 238, 255
    bool built = false;
    QHash<QString, QString> standIns;  // face -> face drawn
    QHash<QString, int> charsets;      // face -> character set
    QHash<QString, QFont> drawFonts;   // face -> font drawn with (before size and style)
    QSet<QString> installed;           // lower-case family names
};

// Process-wide on purpose: the installed faces are listed once per process,
// when the engine starts, and every job draws with the same lists.
FontLists& Fonts()
{
    static FontLists f;
    return f;
}

int CharsetIndex(int charset)
{
    switch (charset) {
    case 128: return 0;
    case 2: return 1;
    case 238: return 2;
    case 255: return 3;
    default: return -1;
    }
}

// Folds a face name for the stand-in table: full-width ASCII to ASCII,
// blanks removed, lower case.
QString FoldFace(const QString& face)
{
    QString out;
    for (QChar ch : face) {
        char16_t u = ch.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            u = char16_t(u - 0xFF01 + 0x21);
        if (u == u' ' || u == 0x3000)
            continue;
        out.append(QChar(u).toLower());
    }
    return out;
}

bool FaceInstalled(const QString& face)
{
    return Fonts().installed.contains(face.toLower());
}

QString Utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The table's row for a face, however a file spells it: full- or
// half-width, with or without blanks, in any letter case.
const kovra::FaceStandIn* StandInRow(const QString& face)
{
    const QString folded = FoldFace(face);
    for (const kovra::FaceStandIn& row : kovra::kFaceStandIns)
        if (folded == FoldFace(Utf8(row.windowsFace)) || folded == FoldFace(Utf8(row.asciiFace)))
            return &row;
    return nullptr;
}

void DrawPlaceholder(QPainter& p, const QRect& r)
{
    p.save();
    QPen pen(Qt::black);
    pen.setWidth(0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.restore();
}

// ---- the commands ----

void DrawText(TEngineJob& job, Canvas& c, const Mapping& m, std::string_view line)
{
    const int x = m.x(IntField(job, line));
    const int y = m.y(IntField(job, line));
    const QString text = QString::fromStdString(TextField(job, line));
    std::string face = TextField(job, line);
    int size = IntField(job, line);
    std::string_view style = NextField(job, line);
    const int colour = IntField(job, line);
    const int background = IntField(job, line);

    if (!style.empty())
        ApplyStyleCode(c, style);
    c.fontFace = face.empty() ? QStringLiteral("ＭＳ 明朝") : QString::fromStdString(face);
    if (size == 0)
        size = 12;
    if (size > 0) {
        const double dpi = m.sx * 254.0;
        c.fontHeight = -int(std::min<long long>(RoundHalfEven(double(size) * dpi / 72.0), kMaxFontPixels));
    }
    c.fontColour = ColourFromCode(colour);
    c.setBackgroundTransparent();
    if (background == 0) {
        c.setBrushColour(Qt::white);
        c.setBrushStyle(0);
    }
    c.charset = CharsetOfFace(c.fontFace);

    QFont font = FontForFace(c.fontFace);
    font.setPixelSize(std::max(1, std::abs(c.fontHeight == 0 ? 16 : c.fontHeight)));
    font.setBold(c.bold);
    font.setItalic(c.italic);
    font.setUnderline(c.underline);
    font.setStrikeOut(c.strikeOut);
    c.lastFont = font;
    if (QPainter* p = c.painter()) {
        c.realizeBrush();
        QFontMetricsF fm(font);
        if (c.backgroundOpaque()) {
            QRectF cell(x, y, fm.horizontalAdvance(text), fm.ascent() + fm.descent());
            p->fillRect(cell, c.backgroundColour());
        }
        p->setFont(font);
        p->setPen(c.fontColour);
        p->drawText(QPointF(x, y + fm.ascent()), text);
    }
    c.bold = c.italic = c.underline = c.strikeOut = false;
    c.fontColour = Qt::black;
}

void SetPenFromFields(TEngineJob& job, Canvas& c, std::string_view line)
{
    c.penWidth = IntField(job, line);
    c.penStyle = IntField(job, line);
    c.penColour = ColourFromCode(IntField(job, line));
}

void DrawLineItem(TEngineJob& job, Canvas& c, const Mapping& m, std::string_view line)
{
    const int x1 = m.x(IntField(job, line)), y1 = m.y(IntField(job, line));
    const int x2 = m.x(IntField(job, line)), y2 = m.y(IntField(job, line));
    SetPenFromFields(job, c, line);
    IntField(job, line, 14); // brush colour and style: read, not used by a line
    IntField(job, line);
    if (QPainter* p = c.painter()) {
        c.realizeBrush();
        QPainterPath path(QPointF(x1, y1));
        path.lineTo(x2, y2);
        StrokeWithPen(*p, c, m.width(c.penWidth), path);
    }
}

void DrawShapeItem(TEngineJob& job, Canvas& c, const Mapping& m, std::string_view line, char letter)
{
    const int x1 = m.x(IntField(job, line)), y1 = m.y(IntField(job, line));
    const int x2 = m.x(IntField(job, line)), y2 = m.y(IntField(job, line));
    int cw = 0, ch = 0;
    if (letter == 'R') {
        cw = m.cornerW(IntField(job, line));
        ch = m.cornerH(IntField(job, line));
    }
    SetPenFromFields(job, c, line);
    c.setBrushColour(ColourFromCode(IntField(job, line, letter == 'B' ? 14 : 0)));
    c.setBrushStyle(IntField(job, line));
    QPainter* p = c.painter();
    if (!p)
        return;
    c.realizeBrush();
    const int w = m.width(c.penWidth);
    QRectF r = CornerRect(x1, y1, x2, y2);
    if (c.penStyle == 6 && w > 1) // the whole pen inside the frame
        r = r.adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
    QPainterPath path;
    if (letter == 'B')
        path.addRect(r);
    else if (letter == 'C')
        path.addEllipse(r);
    else
        path.addRoundedRect(r, std::abs(cw) / 2.0, std::abs(ch) / 2.0);
    if (c.brushStyle() != 1) {
        p->setPen(Qt::NoPen);
        p->fillPath(path, CanvasBrush(c));
    }
    StrokeWithPen(*p, c, w, path);
}

void DrawFillItem(TEngineJob& job, Canvas& c, const Mapping& m, std::string_view line)
{
    const int x1 = m.x(IntField(job, line)), y1 = m.y(IntField(job, line));
    const int x2 = m.x(IntField(job, line)), y2 = m.y(IntField(job, line));
    c.setBrushColour(ColourFromCode(IntField(job, line)));
    if (QPainter* p = c.painter()) {
        c.realizeBrush();
        QRect r = CornerRect(x1, y1, x2, y2);
        p->fillRect(r, CanvasBrush(c));
    }
}

void DrawImageItem(TEngineJob& job, Canvas& c, const Mapping& m, std::string_view line)
{
    const int x1 = m.x(IntField(job, line)), y1 = m.y(IntField(job, line));
    const int x2 = m.x(IntField(job, line)), y2 = m.y(IntField(job, line));
    const std::string path = TextField(job, line);
    QPainter* p = c.painter();
    if (!p)
        return;
    const QString qpath = QString::fromStdString(path);
    QFileInfo info(qpath);
    if (path.empty() || !c.readImageFiles || !info.exists()) {
        Say(Tone::Error, msg::NotFound(path));
        return;
    }
    auto it = c.imageCache.find(path);
    kovra::fileio::ReadResult read;
    if (it == c.imageCache.end()) {
        // Read through the program's reader: never a pipe or a device that
        // could block, never a file too large to hold.
        QImage img;
        std::string bytes;
        read = kovra::fileio::ReadWholeFile(path, bytes, kImageFileSizeLimit);
        if (read.ok()) {
            QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            reader.setAutoTransform(false);
            img = reader.read();
        }
        it = c.imageCache.emplace(path, img).first;
    }
    const QRect target(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    if (it->second.isNull()) {
        DrawPlaceholder(*p, target);
        if (job.ReportedImages.insert(path).second)
            Say(Tone::Error, read.ok() ? msg::NotAnImage(path) : msg::FileReadFailure(path, read, kImageFileSizeLimit, true));
        return;
    }
    const QImage& image = it->second;
    const int w = x2 - x1, h = y2 - y1;
    if (w == 0 || h == 0)
        return;
    // Stretched from (x1, y1) by x2 - x1 and y2 - y1: a second corner left
    // of or above the first mirrors the picture into the rectangle.
    p->save();
    p->translate(x1, y1);
    p->scale(w < 0 ? -1 : 1, h < 0 ? -1 : 1);
    // Lossless: a PDF keeps the bitmap's own pixels (a two-colour bitmap
    // would turn into grey blocks as a JPEG).
    p->setRenderHint(QPainter::LosslessImageRendering);
    p->drawImage(QRectF(0, 0, std::abs(w), std::abs(h)), image);
    p->restore();
}

} // namespace

long long RoundHalfEven(double v)
{
    if (!std::isfinite(v))
        return 0;
    v = std::clamp(v, -9.0e15, 9.0e15);
    double r = std::floor(v + 0.5);
    if (r - v == 0.5 && std::fmod(r, 2.0) != 0.0)
        r -= 1.0;
    return (long long)r;
}

Canvas::Canvas(QPainter* painter, bool printerPage)
    : printerPage_(printerPage)
{
    setPainter(painter);
}

void Canvas::setPainter(QPainter* painter)
{
    painter_ = painter;
    if (painter_)
        baseTransform = painter_->worldTransform();
}

void Canvas::setBrushColour(const QColor& c)
{
    brushColour_ = c;
    if (brushStyle_ == 1)
        brushStyle_ = 0;
    brushChanged_ = true;
}

void Canvas::setBrushStyle(int style)
{
    brushStyle_ = style;
    if (style == 1)
        brushColour_ = Qt::white;
    brushChanged_ = true;
}

void Canvas::realizeBrush()
{
    if (!brushChanged_)
        return;
    brushChanged_ = false;
    bgOpaque_ = QtBrushStyle(brushStyle_) == Qt::SolidPattern;
    bgColour_ = brushColour_;
}

bool DrawPage(TEngineJob& job, PrintFile& file, Canvas* canvas, int zoom, double scaleX, double scaleY)
{
    if (!std::isfinite(scaleX) || scaleX <= 0) scaleX = 96.0 / 254.0;
    if (!std::isfinite(scaleY) || scaleY <= 0) scaleY = scaleX;
    zoom = std::clamp(zoom, 1, 100);
    const bool offsets = !(canvas && canvas->printerPage() && job.PrintFormatPages);
    Mapping m{scaleX, scaleY, 0, 0, offsets ? job.DisplayOffsetX : 0, offsets ? job.DisplayOffsetY : 0};
    m.ox = ClampDevice(double(RoundHalfEven(job.OriginX * scaleX)));
    m.oy = ClampDevice(double(RoundHalfEven(job.OriginY * scaleY)));

    if (canvas)
        EnsureEngineStarted();
    QPainter* p = canvas ? canvas->painter() : nullptr;
    if (p) {
        p->setWorldTransform(QTransform::fromScale(zoom / 10.0, zoom / 10.0) * canvas->baseTransform);
        p->setBackgroundMode(Qt::TransparentMode); // backgrounds are painted by hand
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::TextAntialiasing, true);
    }

    std::string line;
    while (!file.eof()) {
        std::string_view raw = file.readLine();
        if (raw.empty())
            continue;
        const char letter = Upper(raw[0]);
        if (letter == 'E')
            return false;
        if (letter != 'T' && letter != 'L' && letter != 'B' && letter != 'R' && letter != 'F' && letter != 'C' && letter != 'I')
            continue;
        line.assign(raw);
        if (line.back() != ';')
            line.push_back(';');
        job.FieldCursor = 2;
        if (!canvas) {
            continue;
        }
        switch (letter) {
        case 'T': DrawText(job, *canvas, m, line); break;
        case 'L': DrawLineItem(job, *canvas, m, line); break;
        case 'B':
        case 'R':
        case 'C': DrawShapeItem(job, *canvas, m, line, letter); break;
        case 'F': DrawFillItem(job, *canvas, m, line); break;
        case 'I': DrawImageItem(job, *canvas, m, line); break;
        }
    }
    return true;
}

bool PaperSizeFromCode(TEngineJob& job, int code, int& w, int& h)
{
    struct Paper { int code, w, h; };
    static const Paper kPapers[] = {
        {8, 297, 420}, {9, 210, 297}, {11, 148, 210}, {12, 250, 354}, {13, 182, 257}, {16, 254, 356},
        {17, 280, 432}, {44, 229, 280}, {45, 254, 280}, {46, 381, 280}, {90, 305, 280},
    };
    for (const Paper& p : kPapers) {
        if (p.code == code) {
            w = p.w;
            h = p.h;
            job.PaperState = 1;
            return true;
        }
    }
    if (code == 256 && job.CustomPaperWidth > 0 && job.CustomPaperHeight > 0) {
        w = job.CustomPaperWidth / 10;
        h = job.CustomPaperHeight / 10;
        job.PaperState = 1;
        return true;
    }
    job.PaperState = 2;
    return false;
}

QColor ColourFromCode(int code)
{
    static const QRgb kFixed[16] = {
        qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0),
        qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
        qRgb(192, 192, 192), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
        qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255), qRgb(255, 255, 0),
    };
    if (code >= 0 && code < 16)
        return QColor(kFixed[code]);
    if (code < 16 || code > 35)
        return Qt::black;
    // The system colours, from the platform palette's roles.
    const QPalette pal = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette() : QPalette(Qt::lightGray);
    using R = QPalette::ColorRole;
    switch (code) {
    case 16: return pal.color(R::Dark);                                   // desktop background
    case 17: return pal.color(QPalette::Active, R::Highlight);            // active caption
    case 18: return pal.color(QPalette::Inactive, R::Highlight);          // inactive caption
    case 19: return pal.color(R::Window);                                 // menu
    case 20: return pal.color(R::Base);                                   // window
    case 21: return pal.color(R::Shadow);                                 // window frame
    case 22: return pal.color(R::WindowText);                             // menu text
    case 23: return pal.color(R::Text);                                   // window text
    case 24: return pal.color(QPalette::Active, R::HighlightedText);      // caption text
    case 25: return pal.color(QPalette::Active, R::Window);               // active border
    case 26: return pal.color(QPalette::Inactive, R::Window);             // inactive border
    case 27: return pal.color(R::Mid);                                    // application workspace
    case 28: return pal.color(R::Highlight);                              // highlight
    case 29: return pal.color(R::HighlightedText);                        // highlight text
    case 30: return pal.color(R::Button);                                 // button face
    case 31: return pal.color(R::Dark);                                   // button shadow
    case 32: return pal.color(QPalette::Disabled, R::Text);               // grey text
    case 33: return pal.color(R::ButtonText);                             // button text
    case 34: return pal.color(QPalette::Inactive, R::HighlightedText);    // inactive caption text
    default: return pal.color(R::Light);                                  // 35 button highlight
    }
}

void BuildCharsetFontLists()
{
    FontLists& f = Fonts();
    static const QFontDatabase::WritingSystem kSystems[4] = {
        QFontDatabase::Japanese, QFontDatabase::Symbol, QFontDatabase::Latin, QFontDatabase::Other,
    };
    for (int i = 0; i < 4; ++i) {
        f.lists[i].clear();
        for (const QString& name : QFontDatabase::families(kSystems[i])) {
            if (!f.lists[i].isEmpty() && f.lists[i].last().compare(name, Qt::CaseInsensitive) == 0)
                continue;
            f.lists[i].append(name);
        }
    }
    f.installed.clear();
    for (const QString& name : QFontDatabase::families())
        f.installed.insert(name.toLower());
    f.standIns.clear();
    f.charsets.clear();
    f.drawFonts.clear();
    f.built = true;
}

const QStringList& CharsetFontList(int charset)
{
    static const QStringList kEmpty;
    int i = CharsetIndex(charset);
    return i < 0 ? kEmpty : Fonts().lists[i];
}

int CharsetOfFace(const QString& face)
{
    FontLists& fonts = Fonts();
    if (!fonts.built)
        return 0;
    auto cached = fonts.charsets.constFind(face);
    if (cached != fonts.charsets.constEnd())
        return *cached;
    // The character set of the face asked for (or of its stand-in in the
    // table), not of the face a made-up name falls back to.
    const kovra::FaceStandIn* row = StandInRow(face);
    const QString name = (row && !FaceInstalled(face) && FaceInstalled(Utf8(row->installed))) ? Utf8(row->installed) : face;
    static const int kOrder[4] = {128, 2, 238, 255};
    int result = 0;
    for (int charset : kOrder) {
        for (const QString& f : CharsetFontList(charset)) {
            if (f.compare(name, Qt::CaseInsensitive) == 0) {
                result = charset;
                break;
            }
        }
        if (result)
            break;
    }
    if (fonts.charsets.size() > 4096) // a file full of made-up face names
        fonts.charsets.clear();
    fonts.charsets.insert(face, result);
    return result;
}

kovra::FaceKind KindOfFace(const QString& face)
{
    if (const kovra::FaceStandIn* row = StandInRow(face))
        return row->kind;
    return kovra::KindFromName(FoldFace(face).toStdString());
}

QString SubstituteFace(const QString& face)
{
    FontLists& fonts = Fonts();
    if (!fonts.built)
        return face;
    auto cached = fonts.standIns.constFind(face);
    if (cached != fonts.standIns.constEnd())
        return *cached;
    QString result = face;
    if (!FaceInstalled(face)) {
        const kovra::FaceStandIn* row = StandInRow(face);
        const QString target = row ? Utf8(row->installed) : Utf8(kovra::FallbackFace(KindOfFace(face)));
        if (FaceInstalled(target))
            result = target;
    }
    if (fonts.standIns.size() > 4096)
        fonts.standIns.clear();
    fonts.standIns.insert(face, result);
    return result;
}

QFont FontForFace(const QString& face)
{
    // Every text item asks: the answer is kept per face name.
    FontLists& fonts = Fonts();
    auto cached = fonts.drawFonts.constFind(face);
    if (cached != fonts.drawFonts.constEnd())
        return *cached;
    QFont font(SubstituteFace(face));
    switch (KindOfFace(face)) {
    case kovra::FaceKind::Monospaced:
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
        break;
    case kovra::FaceKind::ProportionalSerif:
        font.setStyleHint(QFont::Serif, QFont::PreferDefault);
        break;
    case kovra::FaceKind::ProportionalSans:
        font.setStyleHint(QFont::SansSerif, QFont::PreferDefault);
        break;
    }
    if (fonts.built) {
        if (fonts.drawFonts.size() > 4096)
            fonts.drawFonts.clear();
        fonts.drawFonts.insert(face, font);
    }
    return font;
}

void EnsureEngineStarted()
{
    if (Fonts().built || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    BuildCharsetFontLists();
}

} // namespace dorvex
