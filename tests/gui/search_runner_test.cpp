#include "windows/search_runner.h"

#include "search/pair_table_cache.h"
#include "tests/gui/fake_platform.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace ohmtrim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A search that only waits for Escape, polling the way the real searches do,
// and gives up by itself after the limit.
struct SlowSearch {
    explicit SlowSearch(std::chrono::milliseconds limit_,
                        std::chrono::milliseconds pollEvery_ = 1ms)
        : limit(limit_), pollEvery(pollEvery_) {}
    std::chrono::milliseconds limit;
    std::chrono::milliseconds pollEvery;
    bool aborted = false;
    std::thread::id thread;

    void operator()(const SearchContext& ctx) {
        thread = std::this_thread::get_id();
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (ctx.EscapeDown()) {
                aborted = true;
                return;
            }
            std::this_thread::sleep_for(pollEvery);
        }
    }
};

class Window : public QWidget {
public:
    Window() {
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("&Go"), this);
        layout->addWidget(edit);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
        edit->setFocus();
    }
    QLineEdit* edit;
    QPushButton* button;
    int clicks = 0;
};

class SearchRunnerTest : public ::testing::Test {
protected:
    testing::FakePlatform platform;
    SearchRunner runner{platform};
    Window window;
};

TEST_F(SearchRunnerTest, EscapePressAbortsTheSearch) {
    SlowSearch search{5000ms};
    QTimer::singleShot(50, &window, [&] { QTest::keyPress(&window, Qt::Key_Escape); });
    const auto start = Clock::now();
    EXPECT_TRUE(runner.Run(1e-6, [&](const SearchContext& ctx) { search(ctx); }));
    EXPECT_TRUE(search.aborted);
    EXPECT_LT(Clock::now() - start, 4000ms);
    EXPECT_NE(search.thread, std::this_thread::get_id()) << "the search runs on a worker";
}

TEST_F(SearchRunnerTest, TapBetweenTwoPollsStillCounts) {
    // Press and release both arrive while the search sleeps between polls.
    SlowSearch search{3000ms, 300ms};
    QTimer::singleShot(50, &window, [&] {
        QTest::keyPress(&window, Qt::Key_Escape);
        QTest::keyRelease(&window, Qt::Key_Escape);
    });
    runner.Run(1e-6, [&](const SearchContext& ctx) { search(ctx); });
    EXPECT_TRUE(search.aborted);
}

TEST_F(SearchRunnerTest, EscapeFromAnEarlierSearchIsForgotten) {
    SlowSearch first{3000ms};
    QTimer::singleShot(20, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    runner.Run(1e-6, [&](const SearchContext& ctx) { first(ctx); });
    ASSERT_TRUE(first.aborted);
    SlowSearch second{100ms};
    runner.Run(1e-6, [&](const SearchContext& ctx) { second(ctx); });
    EXPECT_FALSE(second.aborted);
}

TEST_F(SearchRunnerTest, InputDuringTheSearchHasNoEffect) {
    SlowSearch search{400ms};
    bool closeAccepted = true;
    QTimer::singleShot(30, &window, [&] {
        QTest::keyClicks(window.edit, QStringLiteral("123"));
        QTest::mouseClick(window.button, Qt::LeftButton);
        QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
        QTest::keyClick(window.button, Qt::Key_Space);
        closeAccepted = window.close();
    });
    runner.Run(1e-6, [&](const SearchContext& ctx) { search(ctx); });
    // Whatever was deferred would arrive now.
    QTest::qWait(250);
    EXPECT_FALSE(search.aborted);
    EXPECT_EQ(window.edit->text(), QString());
    EXPECT_EQ(window.clicks, 0);
    EXPECT_FALSE(closeAccepted);
    EXPECT_TRUE(window.isVisible());
    // Afterwards input works again.
    QTest::keyClicks(window.edit, QStringLiteral("7"));
    EXPECT_EQ(window.edit->text(), QStringLiteral("7"));
}

TEST_F(SearchRunnerTest, SecondSearchWhileBusyIsRefused) {
    SlowSearch search{300ms};
    bool busyInside = false;
    bool secondStarted = true;
    bool secondRan = false;
    QTimer::singleShot(20, &window, [&] {
        busyInside = runner.busy();
        secondStarted = runner.Run(1e-6, [&](const SearchContext&) { secondRan = true; });
    });
    EXPECT_TRUE(runner.Run(1e-6, [&](const SearchContext& ctx) { search(ctx); }));
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(secondStarted);
    EXPECT_FALSE(secondRan);
    EXPECT_FALSE(runner.busy());
}

TEST_F(SearchRunnerTest, WindowKeepsPaintingDuringTheSearch) {
    struct Counter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;
    window.edit->installEventFilter(&counter);
    SlowSearch search{300ms};
    QTimer::singleShot(30, &window, [&] { window.edit->update(); });
    runner.Run(1e-6, [&](const SearchContext& ctx) { search(ctx); });
    EXPECT_GT(counter.paints, 0);
}

TEST_F(SearchRunnerTest, PassesTheRelativeTolerance) {
    double seen = 0;
    runner.Run(0.01, [&](const SearchContext& ctx) { seen = ctx.relTol; });
    EXPECT_EQ(seen, 0.01);
}

TEST_F(SearchRunnerTest, GivesTheSearchTheTablesTwoThreadsAtMostAndAProgressToReport) {
    SearchContext seen;
    runner.Run(0, [&](const SearchContext& ctx) { seen = ctx; });
    EXPECT_EQ(seen.tables, nullptr) << "no cache given: plain searches";
    PairTableCache tables;
    runner.UsePairTables(&tables);
    runner.Run(0, [&](const SearchContext& ctx) {
        seen = ctx;
        ctx.ReportProgress(0.5);
    });
    EXPECT_EQ(seen.tables, &tables);
    EXPECT_GE(seen.threads, 1);
    EXPECT_LE(seen.threads, 2);
    EXPECT_NE(seen.progress, nullptr);
}

TEST_F(SearchRunnerTest, ExceptionOfTheSearchReachesTheCaller) {
    EXPECT_THROW(runner.Run(1e-6, [](const SearchContext&) { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_FALSE(runner.busy());
}

} // namespace
} // namespace ohmtrim
