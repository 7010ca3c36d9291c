// Version information with the link to the support page.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;

namespace kovra {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Opens the support page in the browser.
    void SupportLinkLblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);

    QGroupBox* SupportGrp = nullptr;
    QLabel* SupportLinkLbl = nullptr;
};

} // namespace kovra
