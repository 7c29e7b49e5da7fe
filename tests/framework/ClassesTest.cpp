// Components, string lists, properties by name, threads, timers and damaged JPEGs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestUtil.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Jpeg.h"
#include "framework/StdCtrls.h"
#include "framework/Threads.h"

namespace kv {
namespace {

// A component that logs its own end and the removals it hears of.
class TProbe : public TComponent {
 public:
  TProbe(std::vector<std::string>* log) : FLog(log) {}
  ~TProbe() override { FLog->push_back("free " + Name()); }
  std::string_view ClassName() const override { return "TProbe"; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) FLog->push_back(Name() + " hears " + component->Name());
  }

 private:
  std::vector<std::string>* FLog;
};

TEST(Component, OwnsItsComponentsAndTellsOfRemovals) {
  std::vector<std::string> log;
  {
    TProbe owner(&log);
    owner.SetName("owner");
    auto* a = owner.Make<TProbe>(&log);
    a->SetName("a");
    auto* b = owner.Make<TProbe>(&log);
    b->SetName("B");
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(owner.FindComponent("b"), b) << "names compare without case";
    EXPECT_EQ(b->Owner(), &owner);
    EXPECT_EQ(b->ClassName(), "TProbe");

    TProbe outsider(&log);
    outsider.SetName("outsider");
    a->FreeNotification(&outsider);
    owner.DestroyComponent(a);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"owner hears a", "B hears a", "free a", "outsider hears a"}));
    log.clear();
  }
  // The outsider goes first (declared last). The owner's own destructor body runs before
  // the component base frees B, so a dying owner hears nothing more.
  EXPECT_EQ(log, (std::vector<std::string>{"free outsider", "free owner", "free B"}));
}

TEST(StringList, LinesNamesValuesAndText) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.SetText(L"TTBDock=Panel\r\nTToolbar97=Panel\nplain\r\n");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Names(0), L"TTBDock");
  EXPECT_EQ(list.Values(L"ttoolbar97"), L"Panel");
  EXPECT_EQ(list.Names(2), L"");
  EXPECT_EQ(list.IndexOf(L"PLAIN"), 2);
  list.SetValue(L"TTBDock", L"Box");
  EXPECT_EQ(list[0], L"TTBDock=Box");
  list.SetValue(L"TTBDock", L"");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Text(), L"TToolbar97=Panel\r\nplain");
  list.Sort();
  EXPECT_EQ(list[0], L"plain");
  EXPECT_GE(changes, 4);
}

TEST(Properties, PublishedBooleansByName) {
  RegisterStandardProperties();
  TApplication app;
  TCheckBox check;
  TLabel label;
  EXPECT_TRUE(SetPropertyByName(check, "Checked", "True"));
  EXPECT_TRUE(check.Checked());
  EXPECT_EQ(GetPropertyText(check, "checked"), "True");
  EXPECT_TRUE(SetPropertyByName(check, "Flat", "True"));
  EXPECT_TRUE(check.Flat());
  EXPECT_TRUE(SetPropertyByName(label, "Transparent", "True"));
  EXPECT_TRUE(label.Transparent());
  EXPECT_FALSE(SetPropertyByName(label, "Checked", "True")) << "labels have no Checked";
  EXPECT_FALSE(SetPropertyByName(check, "Checked", "Maybe")) << "not a member name";
  EXPECT_FALSE(GetPropertyText(label, "Flat").has_value());
  EXPECT_EQ(GetPropertyText(label, "Visible"), "True");
}

class TCounterThread : public TThread {
 public:
  std::vector<DWORD> SyncThreads;
  bool SawError = false;

 protected:
  void Execute() override {
    for (int i = 0; i < 3 && !Terminated(); ++i) Synchronize([this] { SyncThreads.push_back(GetCurrentThreadId()); });
    try {
      Synchronize([] { throw std::runtime_error("bad frame"); });
    } catch (const std::runtime_error&) {
      SawError = true;
    }
    throw std::logic_error("escapes Execute");
  }
};

TEST(Thread, SynchronizeRunsOnTheMainThreadAndErrorsStayInside) {
  TApplication app;
  TCounterThread thread;
  thread.Start();
  thread.WaitFor();
  ASSERT_EQ(thread.SyncThreads.size(), 3u);
  for (DWORD id : thread.SyncThreads) EXPECT_EQ(id, GetCurrentThreadId());
  EXPECT_TRUE(thread.SawError) << "the synchronised call's exception comes back to the thread";
  EXPECT_TRUE(thread.Finished());
  EXPECT_TRUE(thread.FatalException() != nullptr);
}

TEST(Thread, SynchronizeIsServedByTheMessageLoop) {
  TApplication app;
  struct TOnce : TThread {
    std::atomic<bool> Done{false};
    void Execute() override {
      Synchronize([this] { Done = true; });
    }
  } thread;
  thread.Start();
  EXPECT_TRUE(test::PumpUntil([&] { return thread.Done.load(); }));
  thread.WaitFor();
}

TEST(Timer, FiresOnItsThreadAndStopsWhenDisabled) {
  TApplication app;
  TTimer timer;
  timer.SetInterval(10);
  int ticks = 0;
  timer.OnTimer = [&](TComponent*) { ++ticks; };
  ASSERT_TRUE(test::PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  const int stopped = ticks;
  test::Pump();
  EXPECT_EQ(ticks, stopped);
}

TEST(Jpeg, DamagedStreamsDecodeToNothing) {
  TJpegImage image;
  const std::vector<std::uint8_t> garbage{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 2, 3};
  EXPECT_FALSE(image.LoadFromBytes(garbage));
  EXPECT_TRUE(image.Empty());
  EXPECT_FALSE(image.LoadFromBytes({}));
  const std::vector<std::uint8_t> notJpeg(64, 0x42);
  EXPECT_FALSE(image.LoadFromBytes(notJpeg));
}

}  // namespace
}  // namespace kv
