// Picture lookup by file name in the data folders; a new lookup on every call.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <unistd.h>

#include "GuiTestSupport.h"
#include "framework/gui/Platform.h"

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

// Beside the executable first, then the installed data folder relative to it; the first folder
// that holds the file wins.
TEST_F(PicturesTest, BesideTheProgramThenTheInstalledDataFolder) {
  const QDir programDir(QCoreApplication::applicationDirPath());
  EXPECT_EQ(fw::QtPlatformServices().DataFolders(),
            (std::vector<std::string>{programDir.path().toStdString(),
                                      QDir::cleanPath(programDir.filePath("../share/tessivar")).toStdString()}));

  QTemporaryDir beside, installed;
  ASSERT_TRUE(beside.isValid() && installed.isValid());
  QImage small(5, 5, QImage::Format_RGB32), large(9, 9, QImage::Format_RGB32);
  small.fill(Qt::blue);
  large.fill(Qt::green);
  ASSERT_TRUE(large.save(installed.filePath("Both.png")));
  ASSERT_TRUE(large.save(installed.filePath("InstalledOnly.png")));
  ASSERT_TRUE(small.save(beside.filePath("Both.png")));
  fw::testing::SetDataFolders(
      std::vector<std::string>{beside.path().toStdString(), installed.path().toStdString()});
  fw::Ref<fw::Picture> both = fw::RuntimeGetPictureFromResourceManager("Both.png");
  ASSERT_FALSE(both.IsNil());
  EXPECT_EQ(both->Width(), 5);
  fw::Ref<fw::Picture> installedOnly = fw::RuntimeGetPictureFromResourceManager("InstalledOnly.png");
  ASSERT_FALSE(installedOnly.IsNil());
  EXPECT_EQ(installedOnly->Width(), 9);

  fw::testing::SetDataFolders(std::vector<std::string>{});
  EXPECT_TRUE(fw::RuntimeGetPictureFromResourceManager("Both.png").IsNil());
}

}  // namespace
