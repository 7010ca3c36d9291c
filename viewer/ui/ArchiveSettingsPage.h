// The settings dialog's アーカイブ page: where the archive lives, a file
// on this computer or the office's server (a PostgreSQL URI), and a test
// of the connection that runs off the window's thread.
#pragma once

#include <QWidget>

#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QThread;

namespace kovra {

class TArchiveSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit TArchiveSettingsPage(QWidget* parent = nullptr);
    ~TArchiveSettingsPage() override;

    // Shows `location` (FArchive/Location; empty: the default file).
    void SetLocation(const std::string& location);
    // The location chosen, or, when it cannot be kept (a server without a
    // URI, a password in it), empty and `problem` says why.
    std::string Location(std::string& problem) const;

    // Tests the connection to the server named (off the window's thread;
    // the result lands in the label, and TestFinished is emitted).
    void BtnArchiveTestClick();

signals:
    void TestFinished();

private:
    void UpdateEnabled();

    QRadioButton* RadArchiveFile = nullptr;
    QLineEdit* EdtArchiveFile = nullptr;
    QRadioButton* RadArchiveServer = nullptr;
    QLineEdit* EdtArchiveServer = nullptr;
    QPushButton* BtnArchiveTest = nullptr;
    QLabel* LblArchiveTest = nullptr;
    QThread* test_ = nullptr;
};

} // namespace kovra
