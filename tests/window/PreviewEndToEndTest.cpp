// The real window on a virtual X server with the real engine: a file is
// added, selected and played in the preview area; Play again pauses, StopPlay
// brings the colour key back, and the clip slider cuts the Job.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

#include "app/Commands.h"
#include "preview/PreviewWindow.h"
#include "preview/RangeSlider.h"
#include "support/RealMedia.h"
#include "support/Recorders.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"
#include "window/MainWindow.h"

namespace pelorine {
namespace {

constexpr QRgb kKey = qRgb(2, 1, 0);  // the colour key as the preview area paints it

// Polls `condition` with the window's events running.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (condition()) {
            return true;
        }
    }
    return condition();
}

class PreviewEndToEndTest : public testing::WindowFixture {
protected:
    PreviewEndToEndTest() : testing::WindowFixture("bin/") {}

    void SetUp() override {
        testing::installRealEngine(programFolder);
        testing::shell(
            "ffmpeg -v error -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=10 "
            "-f lavfi -i sine=duration=10 -c:v libx264 -preset ultrafast -c:a aac "
            "-shortest '" +
            clip + "'");
        ASSERT_TRUE(std::filesystem::exists(clip));
        openWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        if (window) {
            window->controller().preview().stopPlay();
        }
    }

    // The preview area as the X server shows it: the engine draws into it
    // behind Qt's back, so it is read from the screen, not from Qt.
    double keyShare() {
        const auto* area = window->control(command::kPreviewWindow);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(area->winId())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        if (shot.isNull()) {
            return -1.0;
        }
        int keyed = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                keyed += shot.pixel(x, y) == kKey ? 1 : 0;
            }
        }
        return static_cast<double>(keyed) / (shot.width() * shot.height());
    }
    std::string engineLog() {
        const EngineSession* session = window->controller().preview().session();
        return session ? folder.read(session->logPath().substr(folder.path().size())) : "";
    }

    std::string clip = folder.file("clip one.mp4");
};

TEST_F(PreviewEndToEndTest, PlayPauseStopAndCut) {
    MainController& controller = window->controller();
    dialogs.filesChoice = {clip};
    controller.handleCommand(command::kAdd, window->state());
    ASSERT_EQ(controller.jobs().count(), 1u) << ::testing::PrintToString(dialogs.events());
    auto* list = static_cast<QTreeWidget*>(window->control(command::kJobListView));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(0)).center());
    EXPECT_GT(keyShare(), 0.99) << "the colour key before the preview";

    controller.handleCommand(command::kPlay, window->state());
    ASSERT_TRUE(controller.preview().active()) << ::testing::PrintToString(dialogs.events());
    EXPECT_TRUE(eventually([&] { return keyShare() >= 0.0 && keyShare() < 0.1; }))
        << "the picture in the preview area\n"
        << engineLog();

    controller.handleCommand(command::kPlay, window->state());
    EXPECT_TRUE(controller.preview().paused());
    EXPECT_TRUE(eventually([&] { return engineLog().find("paused at") != std::string::npos; }))
        << engineLog();
    EXPECT_LT(keyShare(), 0.1) << "the held picture stays";

    controller.handleCommand(command::kStopPlay, window->state());
    EXPECT_FALSE(controller.preview().active());
    EXPECT_TRUE(eventually([&] { return keyShare() > 0.99; })) << "the colour key again";

    auto* slider = static_cast<preview::RangeSlider*>(window->control(command::kRangeSlider));
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(5, 7));
    QTest::mouseMove(slider, QPoint(60, 7));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(60, 7));
    EXPECT_GT(controller.jobs().job(0).clipStart, 0.0);
    EXPECT_NE(list->topLevelItem(0)->text(kBeginColumn).toStdString(), kZeroTime)
        << "the Job's start time in the list";
}

}  // namespace
}  // namespace pelorine

int main(int argc, char** argv) {
    // As the program does: the preview area is the only native child window.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
