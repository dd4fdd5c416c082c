#pragma once

#include <QDialog>

namespace orvela {

// The maker's web address, opened by "Visit Website".
inline constexpr const char* MakerWebsite = "https://www.kestrinsoftware.com/orvela/";

// The about box: the name in large bold type beside the icon, the version, three short
// lines and a button that opens MakerWebsite in the default browser.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);
};

}  // namespace orvela
