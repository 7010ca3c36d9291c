// The preview window TImageDispForm and its export PrintImageDisp.
#pragma once

#include "EngineJob.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>
#include <set>
#include <string>

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolBar;
class QVBoxLayout;

namespace dorvex {

// The window's own state beside its job's (PageTotal, CurrentPage, …).
struct TPreviewState {
    int ZoomTenths = 10;
    bool PaintBusy = false;
    QRect SavedBounds;
    bool PreviewPrintFormat = false;
    bool PreviewShowDialog = false;
};

class TImageDispForm : public QDialog {
    Q_OBJECT
public:
    // Shows `job`, whose file names and caller margins are set; the window
    // opens its files when it is first shown and keeps them open.
    explicit TImageDispForm(TEngineJob job, QWidget* parent = nullptr);

    TEngineJob& Job() { return job_; }
    TPreviewState& Preview() { return preview_; }

    // Controls, by their names.
    QToolBar* SpeedBar;
    QAction* CloseButton;
    QAction* PrintSetupButton;
    QAction* PrintButton;
    QLineEdit* DispZoom;
    QAction* ZoomInButton;
    QAction* ZoomOutButton;
    QAction* PrevPage;
    QAction* NextPage;
    QLineEdit* WherePage;
    QScrollArea* ImagePaintScrollBox;
    QWidget* ScrollContent;
    QFrame* PaperPanel;
    QWidget* ImagePaintBox;
    QLineEdit* KeyIn;
    QPushButton* ESCButton;
    QMenu* File_Menu;
    QMenu* View_Menu;
    QMenu* Option_Menu;
    QMenu* Jump_Menu;
    QAction* SpeedBarMenuItem;
    QAction* FullScreenMenuItem;
    QList<QAction*> ZoomMenuItems;

    // Handlers.
    void FormCreate();
    void FormResize();
    void ImagePaintBoxPaint(QPainter& painter);
    void ZoomDisp();
    void ZoomMenuChecked();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();
    void MenuZoomClick(int tag);
    void PrintButtonClick();
    void PrintSetupButtonClick();
    void CloseButtonClick();
    void SpeedBar_MenuClick();
    void FullScreen_MenuClick();
    void ESCButtonClick();
    void DispPrev();
    void DispNext();
    void Top_PageClick();
    void Bottom_PageClick();
    void Selected_PageClick();
    void KeyInKeyDown(int key);
    void FormMouseWheel(int delta);
    bool FullScreenMode() const { return fullScreen_; }
    int SheetLeft() const;
    // Draws the page on show now (navigation redraws at once).
    void DrawNow();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowWherePage();
    void PageChanged();
    // Keeps the scroll position through the relayouts of a change of the
    // window's size that the program makes (full screen and back).
    void KeepScrollPosition();
    std::optional<QPoint> keptScroll_;
    QTimer* keptScrollTimer_ = nullptr;
    TEngineJob job_;
    TPreviewState preview_;
    bool created_ = false;
    bool fullScreen_ = false;
    Canvas canvas_;
    std::set<std::string> shownMessages_; // said already for the page on show
};

// Where the caller's window arguments put the preview: at (left, top) when
// either is 0 or more; sized right - left by bottom - top (at least 100)
// when right or bottom is above 0.  Worked out in 64 bits and clamped to
// what a screen can hold, so no argument from a C caller overflows.
struct PreviewPlacement {
    std::optional<QPoint> position;
    std::optional<QSize> size;
};
PreviewPlacement PlacementFromCaller(int32_t left, int32_t top, int32_t right, int32_t bottom);

// PrintImageDisp with UTF-8 texts, as a job of its own that the window keeps
// until it closes; the exports convert and call this.
void PrintImageDispUtf8(const std::string& caption, const std::string& formatFile, const std::string& dataFile,
                        int32_t paperCode, int32_t orientation, int32_t topMargin, int32_t leftMargin,
                        int32_t windowLeft, int32_t windowTop, int32_t windowRight, int32_t windowBottom,
                        bool printForm, bool showDialog);

} // namespace dorvex
