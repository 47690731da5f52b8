// Start-up in its order, and the clean-up it registers, with the platform faked.
#include "app/program_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/global_state.h"
#include "support/fakes/fake_platform.h"

namespace sp {
namespace {

// Records the order of the platform calls, and what the state held at each.
class OrderedPlatform : public testing::FakePlatform {
 public:
  explicit OrderedPlatform(const ProgramState& state) : state_(state) {}

  void initialise() override { note("initialise"); }
  void registerExitRoutine(std::function<void()> routine) override {
    note("register");
    FakePlatform::registerExitRoutine(std::move(routine));
  }
  bool loadWindow(WindowId window, bool modal) override {
    note(window == WindowId::Main && !modal ? "load main" : "load other");
    return FakePlatform::loadWindow(window, modal);
  }
  void messageLoop() override { note("loop"); }

  std::vector<std::string> order;

 private:
  void note(const std::string& call) {
    order.push_back(call + (state_.songList ? " +document" : ""));
  }
  const ProgramState& state_;
};

TEST(ProgramStart, StepsRunInOrderAndReturnZero) {
  ProgramState state;
  OrderedPlatform platform(state);
  EXPECT_EQ(programStart(platform, state), 0);
  const std::vector<std::string> expected = {"initialise", "register +document",
                                             "load main +document", "loop +document"};
  EXPECT_EQ(platform.order, expected);
  ASSERT_TRUE(state.songList);
  EXPECT_EQ(state.songList->name(), Text("da"));
  EXPECT_EQ(state.songList->getJson(), Text("{}"));
  ASSERT_EQ(platform.exitRoutines.size(), 1U);
  platform.exitRoutines.front()();
  EXPECT_FALSE(state.songList);
}

TEST(ReleaseGlobals, FreesEveryTextAndDestroysTheDocument) {
  ProgramState state;
  state.songList = std::make_unique<JsonDocument>();
  ASSERT_TRUE(state.songList->parse(Text("{\"list\":[1,2]}")));
  state.downloadRowNumber = "1";
  state.playLinkAnswer = "https://localhost/a.mp3";
  state.searchAnswer = "{\"list\":[1,2]}";
  state.currentSongName = "a";
  state.currentSinger = "b";
  state.songCount = 2;
  releaseGlobals(state);
  EXPECT_TRUE(state.downloadRowNumber.empty());
  EXPECT_TRUE(state.playLinkAnswer.empty());
  EXPECT_TRUE(state.searchAnswer.empty());
  EXPECT_TRUE(state.currentSongName.empty());
  EXPECT_TRUE(state.currentSinger.empty());
  EXPECT_FALSE(state.songList);
  EXPECT_EQ(state.songCount, 2);  // the integers need no release
}

TEST(ReleaseGlobals, AfterNoSearchThereIsOnlyTheDocumentToDestroy) {
  ProgramState& state = globalState();
  state.songList = std::make_unique<JsonDocument>();
  releaseGlobals();
  EXPECT_FALSE(state.songList);
  EXPECT_TRUE(state.searchAnswer.empty());
}

}  // namespace
}  // namespace sp
