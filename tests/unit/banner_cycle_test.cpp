#include "core/banner/fade_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/banner/notice.h"
#include "core/banner/status_line.h"

namespace {

using namespace quenlo::banner;

// The banner on a fake message loop with a fake clock. Window timers behave as Windows' do: a due
// timer ticks when the loop runs; time spent without a loop (a blocked handler) yields one tick
// per timer, not one per interval missed. Pictures are described by their drawn text and style,
// and a paint records what the screen shows.
class LoopBanner : public CycleHost {
  public:
    struct TextSide {
        LineList Lines;
    } Text;
    FadeCycle cycle{Text.Lines, *this};
    CycleTiming timing;

    struct Screen {
        std::string from, to;
        int step = 0, steps = 0;
        bool operator==(const Screen& o) const {
            return from == o.from && to == o.to && step == o.step && steps == o.steps;
        }
    };

    std::int64_t now = 0;
    Screen screen;
    std::vector<Screen> painted;
    std::vector<std::int64_t> lineChanges;  // times of line changes that took a line
    int fadeTicks = 0;
    int redraws = 0;
    int completions = 0;

    LoopBanner() {
        Text.Lines.OnChange = [this] { cycle.LinesChanged(); };
    }
    void LoadNotice() {
        for (const char* l : kNotice) Text.Lines.Add(l);
    }

    // The six operations of the status-line update call these.
    void Update() {
        if (invalid_) Paint();
    }
    void RaiseUpdateLock() { cycle.RaiseUpdateLock(); }

    // The message loop runs for `ms`.
    void Run(std::int64_t ms) {
        const std::int64_t end = now + ms;
        for (;;) {
            Timer* next = nullptr;
            for (Timer& t : timers_) {
                if (t.on && (!next || t.due < next->due)) next = &t;
            }
            if (!next || next->due > end) break;
            now = std::max(now, next->due);
            next->due = now + next->interval;
            if (next == &timers_[0]) {
                cycle.LineTick();
            } else {
                ++fadeTicks;
                cycle.FadeTick();
            }
            if (invalid_) Paint();
        }
        now = end;
        if (invalid_) Paint();
    }
    // A handler keeps the thread busy for `ms`: no tick, no paint.
    void Block(std::int64_t ms) { now += ms; }

    bool FadeTimerOn() const { return timers_[1].on; }
    std::int64_t LineTimerDue() const { return timers_[0].due; }

    static std::string Drawn(const std::string& text) { return Describe(text, {}); }
    static std::string Drawn(const std::string& text, std::size_t font, Align align) {
        MarkupState s;
        s.font = font;
        s.align = align;
        return Describe(text, s);
    }

    // CycleHost
    CycleTiming Timing() const override { return timing; }
    Markup CurrentMarkup() const override {
        return Markup({"Title1", "Title2"}, {{"Center", LabelKind::Center}}, true);
    }
    void StartTimer(BannerTimer t, unsigned ms) override {
        timers_[Slot(t)] = {true, ms, now + ms};
    }
    void StopTimer(BannerTimer t) override { timers_[Slot(t)].on = false; }
    void BeginFade(const DisplayLine& line) override {
        from_ = OnScreen();
        to_ = Render(line);
        lineChanges.push_back(now);
    }
    void Redraw(const DisplayLine& line) override {
        ++redraws;
        to_ = Render(line);
    }
    void Invalidate() override { invalid_ = true; }
    void Complete() override { ++completions; }

  private:
    struct Timer {
        bool on = false;
        unsigned interval = 0;
        std::int64_t due = 0;
    };
    static int Slot(BannerTimer t) { return t == BannerTimer::Line ? 0 : 1; }

    static std::string Describe(const std::string& text, const MarkupState& s) {
        if (text.empty()) return "";  // background alone
        std::string d = text + " [";
        d += s.font ? std::to_string(*s.font) : "own";
        d += s.align ? (*s.align == Align::Center ? " centre" : " side") : " own";
        return d + "]";
    }
    std::string Render(const DisplayLine& line) const {
        const auto styled = CurrentMarkup().Resolve(line.text, line.entry, nullptr);
        return Describe(styled.text, styled.style);
    }
    // What a cross-fade stopped part way shows.
    std::string OnScreen() const {
        if (cycle.Step() >= cycle.Steps()) return to_;
        return "mix(" + from_ + "|" + to_ + "|" + std::to_string(cycle.Step()) + ")";
    }
    void Paint() {
        invalid_ = false;
        screen = {from_, to_, cycle.Step(), cycle.Steps()};
        painted.push_back(screen);
    }

    Timer timers_[2];
    std::string from_, to_;  // "" is the background
    bool invalid_ = false;
};

TEST(BannerCycle, FirstLineFadesInFromBackgroundInStepsOf25ms) {
    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    b.Run(0);
    const std::string first = LoopBanner::Drawn("注意：  在安装服务器之前", 0, Align::Center);
    EXPECT_EQ(b.screen.from, "");
    EXPECT_EQ(b.screen.to, first);
    EXPECT_EQ(b.screen.step, 0);
    EXPECT_EQ(b.screen.steps, 24);

    b.Run(250);
    EXPECT_EQ(b.screen.step, 10);
    b.Run(350);
    EXPECT_EQ(b.screen.step, 24);
    EXPECT_EQ(b.fadeTicks, 24);
    EXPECT_FALSE(b.FadeTimerOn());
    b.Run(2000);
    EXPECT_EQ(b.fadeTicks, 24);  // the fade timer runs only during a cross-fade
    EXPECT_EQ(b.lineChanges.size(), 1u);
}

TEST(BannerCycle, ChangesLineEveryDelayInheritingStyleAndWrapping) {
    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    std::vector<std::string> shown;
    for (int i = 0; i < 10; ++i) {
        b.Run(i == 0 ? 700 : 3000);  // each sample after the cross-fade has ended
        shown.push_back(b.screen.to);
        EXPECT_EQ(b.screen.step, b.screen.steps);
    }
    const std::vector<std::int64_t> expectedTimes = {0,     3000,  6000,  9000,  12000,
                                                     15000, 18000, 21000, 24000, 27000};
    EXPECT_EQ(b.lineChanges, expectedTimes);
    EXPECT_EQ(shown[0], LoopBanner::Drawn("注意：  在安装服务器之前", 0, Align::Center));
    EXPECT_EQ(shown[1], LoopBanner::Drawn("请将计算机的IP地址设置为固定形式！", 0, Align::Center));
    EXPECT_EQ(shown[3], LoopBanner::Drawn("IP地址和计算机名称！！", 0, Align::Center));
    EXPECT_EQ(shown[4], "");  // the empty line: background alone
    EXPECT_EQ(shown[7], LoopBanner::Drawn("安装可能需要一点时间，请耐心等待！", 0, Align::Center));
    EXPECT_EQ(shown[8], shown[0]);
    EXPECT_EQ(shown[9], shown[1]);
}

TEST(BannerCycle, LongBlockGivesOneLineChangeAndFreezesTheFade) {
    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    b.Run(3100);  // second line, four steps into its cross-fade
    const LoopBanner::Screen atClick = b.screen;
    ASSERT_EQ(atClick.step, 4);

    b.Block(90000);
    EXPECT_EQ(b.screen, atClick);
    b.Run(10);
    // One fade step and one line change, not 36 of them.
    ASSERT_EQ(b.lineChanges.size(), 3u);
    EXPECT_EQ(b.lineChanges.back(), 93100);
    EXPECT_EQ(b.screen.to, LoopBanner::Drawn("安装完成后请不要更改计算机的", 0, Align::Center));
    EXPECT_EQ(b.screen.from.rfind("mix(", 0), 0u) << "fades from the stopped cross-fade";
    EXPECT_EQ(b.screen.step, 0);
    // The line timer restarted at that change.
    EXPECT_EQ(b.LineTimerDue(), 96100);
    b.Run(3000);
    EXPECT_EQ(b.lineChanges.size(), 4u);
    EXPECT_EQ(b.lineChanges.back(), 96100);
}

TEST(BannerCycle, ListChangeRedrawsLineOnDisplayOnlyWithoutLock) {
    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    b.Run(4000);
    const LoopBanner::Screen before = b.screen;
    const std::size_t paints = b.painted.size();

    b.Text.Lines.Clear();  // lock 0: the line on display again, marked for repaint
    EXPECT_EQ(b.redraws, 1);
    b.Update();
    EXPECT_EQ(b.painted.size(), paints + 1);
    EXPECT_EQ(b.screen, before);

    b.RaiseUpdateLock();
    b.Text.Lines.Add("<Title1>new");
    b.Update();
    EXPECT_EQ(b.redraws, 1);
    EXPECT_EQ(b.painted.size(), paints + 1);  // nothing was marked

    b.cycle.LowerUpdateLock();
    b.Text.Lines.Add("more");
    EXPECT_EQ(b.redraws, 2);
    b.Update();
    EXPECT_EQ(b.screen, before);  // a list change never brings a new line by itself
}

TEST(BannerCycle, EmptyListKeepsLineOnDisplay) {
    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    b.Run(1000);
    const LoopBanner::Screen shown = b.screen;
    b.Text.Lines.Clear();
    b.Run(7000);  // two line changes with nothing to take
    EXPECT_EQ(b.lineChanges.size(), 1u);
    EXPECT_EQ(b.screen, shown);
    b.Text.Lines.Add("x");
    b.Run(3000);
    EXPECT_EQ(b.lineChanges.size(), 2u);
    EXPECT_EQ(b.lineChanges.back(), 9000);
    EXPECT_EQ(b.screen.to, LoopBanner::Drawn("x"));
}

TEST(BannerCycle, RepeatCountEndsCycleAfterItsPasses) {
    LoopBanner b;
    b.timing.repeatCount = 2;
    b.Text.Lines.Add("a");
    b.Text.Lines.Add("b");
    b.cycle.Start();
    b.Run(20000);
    EXPECT_EQ(b.lineChanges.size(), 4u);  // a b a b
    EXPECT_EQ(b.completions, 1);
    EXPECT_FALSE(b.cycle.Running());
    EXPECT_EQ(b.screen.to, LoopBanner::Drawn("b"));
}

// The steps of an installation run: each writes its status line(s), blocks the loop for its work,
// then opens a message box whose loop runs the banner.
TEST(BannerCycle, StatusLineUpdatesShowAtTheNextLineChange) {
    struct StepCase {
        std::vector<std::string> lines;  // status lines written, in order
        std::int64_t work;               // ms the handler keeps the loop from running
        int lockAfter;
    };
    const std::string one = "<Title1><Center>安装SQL SEVER服务成功！";
    const std::string two = "<Title1><Center>启动SQL SEVER服务成功！";
    const std::string threeA = "<Title1><Center>导入原始数据库成功！";
    const std::string threeB = "<Title1><Center>恭喜你所有安装顺利完成！";
    const StepCase steps[] = {
        {{one}, 90000, 2},
        {{two}, 30000, 4},
        {{threeA, threeB}, 5000, 8},
    };

    LoopBanner b;
    b.LoadNotice();
    b.cycle.Start();
    b.Run(4200);  // a notice line on display, its cross-fade finished
    for (const StepCase& s : steps) {
        const LoopBanner::Screen atClick = b.screen;
        const std::size_t changes = b.lineChanges.size();
        for (std::size_t i = 0; i < s.lines.size(); ++i) {
            ApplyStatusLine(b, s.lines[i]);
            if (i + 1 < s.lines.size()) b.Block(s.work);
        }
        EXPECT_EQ(b.screen, atClick) << "nothing changes at the click";
        EXPECT_EQ(b.cycle.UpdateLock(), s.lockAfter);
        b.Block(s.work);
        EXPECT_EQ(b.screen, atClick);
        EXPECT_EQ(b.lineChanges.size(), changes);

        b.Run(700);  // the message box is open
        const std::string status = LoopBanner::Drawn(
            s.lines.back().substr(std::string("<Title1><Center>").size()), 0, Align::Center);
        EXPECT_EQ(b.lineChanges.size(), changes + 1);
        EXPECT_EQ(b.screen.from, atClick.to);
        EXPECT_EQ(b.screen.to, status);
        EXPECT_EQ(b.screen.step, b.screen.steps);

        // Taken again every 3 s without any visible change.
        b.Run(9000);
        EXPECT_EQ(b.lineChanges.size(), changes + 4);
        EXPECT_EQ(b.screen.from, status);
        EXPECT_EQ(b.screen.to, status);
    }
    for (const auto& p : b.painted) {
        EXPECT_EQ(p.to.find("导入原始数据库成功"), std::string::npos);
        EXPECT_EQ(p.from.find("导入原始数据库成功"), std::string::npos);
    }
}

}  // namespace
