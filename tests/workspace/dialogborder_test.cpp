#include <gtest/gtest.h>

#include <QDialog>

#include "dialogs/about.h"
#include "workspace/toptions.h"

namespace orvela {
namespace {

// A fixed dialog border: a title and a close button, no maximise or minimise button, no size
// grip, and a size that cannot be changed.
void ExpectFixedBorder(QDialog& dialog) {
  dialog.show();
  const Qt::WindowFlags flags = dialog.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.isSizeGripEnabled());
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  const QSize before = dialog.size();
  dialog.resize(before + QSize(200, 150));
  EXPECT_EQ(dialog.size(), before);
  dialog.hide();
}

TEST(FixedBorderTest, OptionsAndAboutCannotBeResizedOrMaximised) {
  TAboutForm about;
  ExpectFixedBorder(about);
  TOptionsDialog options;
  ExpectFixedBorder(options);
}

}  // namespace
}  // namespace orvela
