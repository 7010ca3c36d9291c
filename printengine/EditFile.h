// TFomEditor: the plain text editor for format files, and StartEditFile.
#pragma once

#include <QMainWindow>

#include <cstdint>
#include <string>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace dorvex {

inline constexpr const char* kUntitledName = "無題.fom";
// The largest file the editor opens: a form is some thousand lines.
inline constexpr std::uint64_t kEditFileSizeLimit = 16ull << 20;
inline constexpr const char* kFormatFileFilter = "書式ﾌｧｲﾙ(*.fom);;すべてのﾌｧｲﾙ(*)";

class TFomEditor : public QMainWindow {
    Q_OBJECT
public:
    explicit TFomEditor(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QMenu* FileMenu;
    QMenu* EditMenu;
    QAction* Open1;
    QAction* New1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* Exit1;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QAction* Delete1;
    QAction* SelectAll1;

    QString EditFileName;

    bool LoadEditFile(const QString& name);
    // True when the text may be discarded (saved, or the user said so).  A
    // save that fails keeps the text: the close, open or new does not happen.
    bool FormCloseQuery();
    void Open1Click();
    void New1Click();
    bool Save1Click();
    bool SaveAs1Click();
    void Exit1Click();
    void EditClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class SaveOutcome { Saved, NoNameChosen, Failed };
    SaveOutcome SaveText();
    SaveOutcome SaveTextAs();
    void SetCaptionFromName();
};

void StartEditFileUtf8(const std::string& path, const std::string& untitledName);

} // namespace dorvex
