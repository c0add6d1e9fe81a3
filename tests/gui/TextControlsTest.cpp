// Text controls: a text area keeps its text exactly, and a field's mask refuses whole.
#include <QClipboard>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include <cmath>

#include "GuiTestSupport.h"
#include "framework/core/BackgroundTask.h"
#include "framework/core/PropertyString.h"
#include "framework/core/Text.h"

namespace {

using namespace guitest;

class TextControlsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    w = Instance([this](TestWnd& w) {
      w.createControls = [this](TestWnd& self) {
        self.Add<fw::TextArea>("Area");
        // A program handler: what it writes into the area is one event's change.
        fw::RuntimeAddEventHandler(self.Add<fw::PushButton>("WriteBtn"), fw::PushButtonEvent::Action,
                                   fw::Delegate(
                                       [this](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                         if (onWrite) onWrite();
                                         return false;
                                       },
                                       "( PushButton )"));
        fw::SetProperties(*self.Add<fw::TextField>("Field"), fw::PropertyListWriter()
                                                                   .Integer("MaximumCharactersAllowed", 3)
                                                                   .Text("ValidationMask", "###")
                                                                   .Build());
      };
    });
    Settle();
    area = fw::RuntimeCheckCast<fw::TextArea>(w->ControlByName("Area"));
    field = fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("Field"));
    areaWidget = static_cast<QPlainTextEdit*>(fw::testing::WidgetOf(area));
    fieldWidget = static_cast<QLineEdit*>(fw::testing::WidgetOf(field));
  }
  // Runs `write` as the handler of one button press.
  void InOneHandlerCall(std::function<void()> write) {
    onWrite = std::move(write);
    fw::RuntimeCheckCast<fw::PushButton>(w->ControlByName("WriteBtn"))->Push();
    onWrite = nullptr;
  }
  void Append(std::string_view piece) {
    area->SelectionStart(fw::Len(area->Text()));
    area->SelectedText(piece);
  }
  std::function<void()> onWrite;
  fw::Ref<TestWnd> w;
  fw::Ref<fw::TextArea> area;
  fw::Ref<fw::TextField> field;
  QPlainTextEdit* areaWidget = nullptr;
  QLineEdit* fieldWidget = nullptr;
};

TEST_F(TextControlsTest, AnAreaGivesBackExactlyWhatWasSet) {
  const std::string texts[] = {"", "a\r\nb", "\r", "\n\r", "x\r\r\n\n", "end\r\n", "日本\r\n😀é", std::string(3000, 'z')};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    area->Text(text);
    EXPECT_EQ(area->Text(), text);
    EXPECT_EQ(area->SelectionStart(), 0);
  }
  area->Text("ab\r\ncd");
  EXPECT_EQ(areaWidget->toPlainText(), "ab\ncd") << "shown as two lines";
  EXPECT_EQ(areaWidget->document()->blockCount(), 2);
}

TEST_F(TextControlsTest, PositionsCountEveryCharacterCrAndLfToo) {
  // The report is written piece by piece at the end of the area.
  area->Text("Tessivar\r\n");
  for (const char* piece : {"1  ", "2.5000", "\r\n", "😀\r\n", "end"}) {
    area->SelectionStart(fw::Len(area->Text()));
    area->SelectedText(piece);
  }
  EXPECT_EQ(area->Text(), "Tessivar\r\n1  2.5000\r\n😀\r\nend");
  EXPECT_EQ(area->SelectionStart(), fw::Len(area->Text()));
  EXPECT_EQ(fw::Len(area->Text()), 27);

  // Between CR and LF: the caret stays there and an insertion lands there.
  area->Text("a\r\nb");
  area->SelectionStart(2);
  EXPECT_EQ(area->SelectionStart(), 2);
  area->SelectedText("X");
  EXPECT_EQ(area->Text(), "a\rX\nb");
  EXPECT_EQ(area->SelectionStart(), 3);
  EXPECT_EQ(areaWidget->document()->blockCount(), 3);
  // Completing a CR LF from its halves joins the two lines.
  area->Text("a\rb");
  area->SelectionStart(2);
  area->SelectedText("\n");
  EXPECT_EQ(area->Text(), "a\r\nb");
  EXPECT_EQ(areaWidget->document()->blockCount(), 2) << "one line end again";
  area->Text("a\r");
  area->SelectionStart(2);
  area->SelectedText("\nz");
  EXPECT_EQ(area->Text(), "a\r\nz");
  EXPECT_EQ(areaWidget->toPlainText(), "a\nz");
  EXPECT_EQ(area->SelectedText(), "");
  area->SelectionStart(999);
  EXPECT_EQ(area->SelectionStart(), 4);
}

TEST_F(TextControlsTest, WhatTheUserTypesJoinsTheExactText) {
  area->Text("one\r\ntwo");
  areaWidget->setFocus();
  areaWidget->moveCursor(QTextCursor::End);
  QTest::keyClicks(areaWidget, "3");
  QTest::keyClick(areaWidget, Qt::Key_Return);
  QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é"));
  QApplication::sendEvent(areaWidget, &accented);
  EXPECT_EQ(area->Text(), "one\r\ntwo3\né");
  areaWidget->moveCursor(QTextCursor::Start);
  areaWidget->moveCursor(QTextCursor::EndOfLine);
  EXPECT_EQ(area->SelectionStart(), 3);
  QTest::keyClick(areaWidget, Qt::Key_Delete);  // the line end, CR and LF together
  EXPECT_EQ(area->Text(), "onetwo3\né");
  areaWidget->undo();
  EXPECT_EQ(area->Text(), "one\r\ntwo3\né") << "undone, CR LF again";

  // Copy gives the exact text; paste keeps CR LF.
  area->Text("x\r\ny");
  areaWidget->selectAll();
  areaWidget->copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "x\r\ny");
  areaWidget->moveCursor(QTextCursor::End);
  areaWidget->paste();
  EXPECT_EQ(area->Text(), "x\r\nyx\r\ny");
}

TEST_F(TextControlsTest, UndoAndRedoGiveBackTheTextByteForByte) {
  const std::string report = "Tessivar\r\n\r\n 1  2.5000  .1000\r\nend\r\n";
  area->Text("Tessivar\r\n");
  area->SelectionStart(10);
  area->SelectedText("\r\n 1  2.5000  .1000\r\nend\r\n");  // as the report is written
  ASSERT_EQ(area->Text(), report);
  areaWidget->setFocus();
  areaWidget->selectAll();
  areaWidget->cut();
  EXPECT_EQ(area->Text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), report);
  areaWidget->undo();
  EXPECT_EQ(area->Text(), report);
  areaWidget->redo();
  EXPECT_EQ(area->Text(), "");
  areaWidget->undo();
  EXPECT_EQ(area->Text(), report);
  // Typing after an undo starts a new history; its line end is the user's LF.
  areaWidget->moveCursor(QTextCursor::End);
  QTest::keyClick(areaWidget, Qt::Key_Return);
  EXPECT_EQ(area->Text(), report + "\n");
  areaWidget->undo();
  EXPECT_EQ(area->Text(), report);
}

TEST_F(TextControlsTest, WhatOneHandlerCallWritesIsUndoneAndRedoneAsOneStep) {
  area->Text("before\r\n");
  const std::string report = "Tessivar\r\n 1  2.5000\r\n 2  0.5000\r\nend\r\n";
  InOneHandlerCall([this] {
    area->Text("");
    area->Text(area->Text() + "Tessivar\r\n");
    Append(" 1  2.5000\r\n");
    // The windows live between the rows; the pieces still make one step.
    bool yielded = false;
    QTimer::singleShot(0, [&yielded] { yielded = true; });
    while (!yielded) fw::RuntimeBackgroundTask();
    Append(" 2  0.5000\r\n");
    Append("end\r\n");
  });
  ASSERT_EQ(area->Text(), report);
  areaWidget->undo();
  EXPECT_EQ(area->Text(), "before\r\n") << "the whole report went in one undo";
  areaWidget->redo();
  EXPECT_EQ(area->Text(), report) << "and came back in one redo";

  // The next call is a step of its own; so is what the user types in between.
  InOneHandlerCall([this] { Append("more\r\n"); });
  areaWidget->setFocus();
  areaWidget->moveCursor(QTextCursor::End);
  QTest::keyClicks(areaWidget, "xy");
  InOneHandlerCall([this] {
    Append("\r\nlast");
    Append("\r\n");
  });
  ASSERT_EQ(area->Text(), report + "more\r\nxy\r\nlast\r\n");
  const std::string steps[] = {report + "more\r\nxy", report + "more\r\n", report, "before\r\n"};
  for (const std::string& expected : steps) {
    SCOPED_TRACE(expected);
    areaWidget->undo();
    EXPECT_EQ(area->Text(), expected);
  }
}

TEST_F(TextControlsTest, AReplacementOfTheWholeTextIsUndoneLikeAnyOtherStep) {
  const std::string report = "Tessivar\r\n\r\n 1  2.5000  .1000\r\nend\r\n";
  const std::string help = "Help\r\n\r\nno line end after the last line ";
  area->Text(report);
  InOneHandlerCall([this, &help] { area->Text(help); });
  InOneHandlerCall([this] { area->Text(""); });
  const std::string steps[] = {help, report, ""};
  for (const std::string& expected : steps) {
    SCOPED_TRACE(expected);
    areaWidget->undo();
    EXPECT_EQ(area->Text(), expected);
  }
  areaWidget->redo();
  areaWidget->redo();
  EXPECT_EQ(area->Text(), help);
  areaWidget->redo();
  EXPECT_EQ(area->Text(), "");
}

TEST_F(TextControlsTest, AFieldRefusesADropThatItsMaskRefuses) {
  // The text area that a refused drag came from keeps its text only when the drop is not accepted.
  struct Drop {
    const char* before;
    const char* dropped;
    bool accepted;
    const char* after;
  };
  const Drop drops[] = {{"", "12", true, "12"}, {"", "Rank", false, ""}, {"12", "34", false, "12"}, {"1", "2", true, "12"}};
  for (const Drop& d : drops) {
    SCOPED_TRACE(std::string(d.before) + " + " + d.dropped);
    field->Text(d.before);
    QMimeData data;
    data.setText(QString::fromUtf8(d.dropped));
    const QPointF at(fieldWidget->width() - 2, fieldWidget->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fieldWidget, &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(fieldWidget, &drop);
    EXPECT_EQ(drop.isAccepted(), d.accepted);
    EXPECT_EQ(field->Text(), d.after);
  }
}

TEST_F(TextControlsTest, HideSelectionHidesTheSelectionWhileTheAreaHasNoFocus) {
  // Pixels painted in a selection colour, and pixels of text (dark) anywhere.
  const auto look = [this] {
    const QImage image = areaWidget->viewport()->grab().toImage();
    const QPalette& app = QApplication::palette();
    const QRgb selection[] = {app.color(QPalette::Active, QPalette::Highlight).rgb(),
                              app.color(QPalette::Inactive, QPalette::Highlight).rgb()};
    std::pair<int, int> counts;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        if (pixel == selection[0] || pixel == selection[1]) ++counts.first;
        if (qGray(pixel) < 96) ++counts.second;
      }
    }
    return counts;
  };
  for (const bool hide : {true, false}) {
    SCOPED_TRACE(hide);
    fw::SetProperties(*area, fw::PropertyListWriter().Boolean("HideSelection", hide).Build());
    area->Text("selected text");
    areaWidget->setFocus();
    areaWidget->selectAll();
    Settle();
    EXPECT_GT(look().first, 50) << "with the focus, the selection shows";
    fieldWidget->setFocus();
    Settle();
    const auto [selected, dark] = look();
    if (hide) {
      EXPECT_EQ(selected, 0);
      EXPECT_GT(dark, 20) << "the text shows in its own colour";
    } else {
      EXPECT_GT(selected, 50);
    }
    EXPECT_EQ(area->SelectedText(), "selected text") << "hidden, not forgotten";
  }
}

TEST_F(TextControlsTest, AFieldTakesOnlyWhatFitsItsMask) {
  fieldWidget->setFocus();
  QTest::keyClicks(fieldWidget, "1a2-34");
  EXPECT_EQ(field->Text(), "123") << "a letter and a fourth digit are refused";
  struct Paste {
    const char* before;
    const char* pasted;
    const char* after;
  };
  const Paste pastes[] = {{"", "12a", ""}, {"12", "45", "12"}, {"12", "4", "124"}, {"", "987", "987"},
                          {"", "9876", ""}, {"1", "٣", "1"}};
  for (const Paste& p : pastes) {
    SCOPED_TRACE(std::string(p.before) + " + " + p.pasted);
    field->Text(p.before);
    fieldWidget->end(false);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(p.pasted));
    fieldWidget->paste();
    EXPECT_EQ(field->Text(), p.after);
  }
  // The program's own text is kept as given.
  field->Text("");
  EXPECT_EQ(field->Text(), "");
}

// The frame of a bordered area, as the screen shows it: on each side, one line of device pixels
// within the frame's point that is frame-coloured from end to end. Runs at the scale factor of
// this process; the next test runs it again under each factor.
TEST_F(TextControlsTest, ABorderedAreaShowsItsWholeFrame) {
  // At fractional factors the edges fall on every fraction of a device pixel in turn.
  const QRect places[] = {{20, 20, 100, 80}, {21, 21, 101, 81}, {22, 22, 102, 82}, {23, 23, 103, 83}};
  // The other controls out of the way.
  fw::SetProperties(*field, fw::PropertyListWriter().Integer("Left", 300).Build());
  fw::SetProperties(*fw::RuntimeCheckCast<fw::PushButton>(w->ControlByName("WriteBtn")),
                    fw::PropertyListWriter().Integer("Left", 300).Integer("Top", 200).Build());
  QWidget* top = fw::testing::TopLevelOf(*w);
  for (const QRect& place : places) {
    SCOPED_TRACE(testing::Message() << "at " << place.x() << "," << place.y());
    fw::SetProperties(*area, fw::PropertyListWriter()
                                 .Integer("Left", place.x())
                                 .Integer("Top", place.y())
                                 .Integer("Width", place.width())
                                 .Integer("Height", place.height())
                                 .Boolean("HasBorder", true)
                                 .Boolean("HasVerticalScrollbar", true)
                                 .Build());
    Settle();
    const QImage shot = top->grab().toImage();
    const double dpr = shot.devicePixelRatio();
    const QPointF at = QPointF(areaWidget->mapTo(top, QPoint(0, 0))) * dpr;
    const QSizeF size = QSizeF(areaWidget->size()) * dpr;
    const auto isFrame = [&](int x, int y) { return qGray(shot.pixel(x, y)) < 225; };
    // Whether one of the device lines across the frame's point is frame-coloured along the
    // side's middle four fifths.
    const auto sideShows = [&](bool across, double outer, double inner, double from, double to) {
      for (int line = static_cast<int>(std::floor(std::min(outer, inner)));
           line < static_cast<int>(std::ceil(std::max(outer, inner))); ++line) {
        bool whole = true;
        for (int i = static_cast<int>(from + (to - from) / 10); whole && i < static_cast<int>(to - (to - from) / 10); ++i) {
          whole = across ? isFrame(i, line) : isFrame(line, i);
        }
        if (whole) return true;
      }
      return false;
    };
    const double left = at.x(), right = at.x() + size.width(), upper = at.y(), lower = at.y() + size.height();
    EXPECT_TRUE(sideShows(true, upper, upper + dpr, left, right)) << "top, at scale " << dpr;
    EXPECT_TRUE(sideShows(true, lower, lower - dpr, left, right)) << "bottom, at scale " << dpr;
    EXPECT_TRUE(sideShows(false, left, left + dpr, upper, lower)) << "left, at scale " << dpr;
    EXPECT_TRUE(sideShows(false, right, right - dpr, upper, lower)) << "right, at scale " << dpr;
  }
}

// A scale factor is fixed before the application exists: each one gets a process of its own.
TEST_F(TextControlsTest, ABorderedAreaShowsItsWholeFrameAtEveryScaleFactor) {
  for (const char* factor : {"1", "1.25", "1.5", "2"}) {
    SCOPED_TRACE(factor);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", factor);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(PassesAlone("TextControlsTest.ABorderedAreaShowsItsWholeFrame", {}, env));
  }
}

}  // namespace
