// The detached field window: a small always-on-top window onto which the
// user drags one of the main window's tagged boxes; it then shows that
// field's caption and a copy of its value that follows the main window.
#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QLineEdit;
class QMimeData;

namespace kovra {

class TMainForm;

// The largest caption file (LblTag) read: some hundred short lines.
inline constexpr std::uint64_t kCaptionFileSizeLimit = 1ull << 20;

class TSeparationForm : public QWidget {
    Q_OBJECT
public:
    // Parented to the main window, whose tagged boxes are the drag sources.
    explicit TSeparationForm(TMainForm* mainForm);

    // Shows box `source` of the main window: its existing pair, or a new
    // pair whose caption is line (tag) of LblTag.  Returns false when the
    // caption could not be read (message shown, window left empty).
    bool DropField(QLineEdit* source);

    // Hides the pair of the caption label and shows the prompt again.
    void CaptionClick(QLabel* caption);

    // The caption file, in the program's folder.
    static QString LblTagPath();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* sourceOf(const QMimeData* mime) const;
    void hideAll();

    TMainForm* mainForm_;
    QLabel* LblReadme = nullptr;
};

} // namespace kovra
