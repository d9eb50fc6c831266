#pragma once
// The About box (template 100), shown modally from the main window's About entry. Its link opens
// the maker's web site in the browser; Cancel closes it.
#include <QDialog>
#include <memory>

namespace Ui {
class AboutBox;
}

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    CAboutDlg(const QString& makerWebAddress, QWidget* parent);
    ~CAboutDlg() override;

  private:
    std::unique_ptr<Ui::AboutBox> ui_;
};
