// Picture lookup by file name beside the executable; a new lookup on every call.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <unistd.h>

#include "GuiTestSupport.h"

namespace {

class PicturesTest : public guitest::GuiTest {
 protected:
  void TearDown() override {
    QFile::remove(path);
    guitest::GuiTest::TearDown();
  }
  const std::string name = "fw_picture_" + std::to_string(getpid()) + ".png";
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromStdString(name));
};

TEST_F(PicturesTest, MissingPresentAndAppearingLater) {
  EXPECT_TRUE(fw::RuntimeGetPictureFromResourceManager(name).IsNil());
  QImage image(37, 11, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(path));
  fw::Ref<fw::Picture> found = fw::RuntimeGetPictureFromResourceManager(name);
  ASSERT_FALSE(found.IsNil()) << "found once it is there";
  EXPECT_EQ(found->Width(), 37);
  EXPECT_EQ(found->Height(), 11);
  EXPECT_NE(fw::RuntimeGetPictureFromResourceManager(name).Get(), found.Get()) << "each call looks again";

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("not a picture");
  file.close();
  EXPECT_TRUE(fw::RuntimeGetPictureFromResourceManager(name).IsNil());
}

TEST_F(PicturesTest, OnlyBareFileNamesAreLookedUp) {
  for (const char* bad : {"", ".", "..", "../fw_picture.png", "/etc/passwd", "sub\\x.png"}) {
    SCOPED_TRACE(bad);
    EXPECT_TRUE(fw::RuntimeGetPictureFromResourceManager(bad).IsNil());
  }
}

}  // namespace
