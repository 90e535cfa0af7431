#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_test_support.h"
#include "render/device.h"

namespace lum {
namespace {

using testing::softBackend;

struct Recorder : TAsphyreDeviceSubscriber {
  Recorder(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
  bool HandleNotice(int32_t code) override {
    log.push_back(name + ":" + std::to_string(code));
    return code != refuse;
  }
  std::string name;
  std::vector<std::string>& log;
  int32_t refuse = -1;
};

struct DeviceRig {
  std::vector<std::string> log;
  TAsphyreDevice device;
  Recorder a{"a", log}, b{"b", log}, c{"c", log};
  DeviceRig() : device(std::move(createGraphicsDevice("soft", BackendOptions{true, "t"}).value())) {
    device.SetWidth(64);
    device.SetHeight(48);
    a.SetDevice(&device);
    b.SetDevice(&device);
    c.SetDevice(&device);
  }
  SoftGraphicsDevice& soft() { return static_cast<SoftGraphicsDevice&>(device.Backend()); }
};

TEST(DeviceTest, InitializeNotifiesInSubscriptionOrderAndCallsTheHandler) {
  DeviceRig r;
  bool handlerSaw = false;
  r.device.OnInitialize = [&](TAsphyreDevice&, bool& ok) { handlerSaw = ok; };
  EXPECT_TRUE(r.device.Initialize());
  EXPECT_TRUE(handlerSaw);
  EXPECT_EQ(r.log, (std::vector<std::string>{"a:256", "b:256", "c:256"}));
  EXPECT_FALSE(r.device.Initialize());  // already there
}

TEST(DeviceTest, RefusingSubscriberStopsTheNoticeAndFailsInitialisation) {
  DeviceRig r;
  r.b.refuse = NoticeInitialize;
  bool handlerSaw = true;
  r.device.OnInitialize = [&](TAsphyreDevice&, bool& ok) { handlerSaw = ok; };
  EXPECT_FALSE(r.device.Initialize());
  EXPECT_FALSE(handlerSaw);
  EXPECT_FALSE(r.device.Initialized());
  EXPECT_EQ(r.log, (std::vector<std::string>{"a:256", "b:256", "a:257", "b:257", "c:257"}));
}

TEST(DeviceTest, InitializeHandlerCanRefuse) {
  DeviceRig r;
  r.device.OnInitialize = [](TAsphyreDevice&, bool& ok) { ok = false; };
  EXPECT_FALSE(r.device.Initialize());
  EXPECT_FALSE(r.device.Initialized());
}

TEST(DeviceTest, SwitchingWindowedResetsWithLostThenRecovered) {
  DeviceRig r;
  ASSERT_TRUE(r.device.Initialize());
  r.log.clear();
  r.device.SetWindowed(false);
  EXPECT_FALSE(r.device.Windowed());
  EXPECT_EQ(r.log, (std::vector<std::string>{"a:258", "b:258", "c:258", "a:259", "b:259", "c:259"}));
}

TEST(DeviceTest, CreationOnlyPropertiesAreIgnoredWhileTheDeviceExists) {
  DeviceRig r;
  ASSERT_TRUE(r.device.Initialize());
  r.device.SetDepthBuffer(true);
  EXPECT_FALSE(r.device.DepthBuffer());
}

TEST(DeviceTest, RenderBracketsTheHandlerWithSceneNotices) {
  DeviceRig r;
  EXPECT_FALSE(r.device.Render(0, true));  // no device
  ASSERT_TRUE(r.device.Initialize());
  EXPECT_FALSE(r.device.Render(0, true));  // no handler
  r.log.clear();
  r.device.OnRender = [&](TAsphyreDevice&) { r.log.push_back("render"); };
  EXPECT_TRUE(r.device.Render(0, true));
  EXPECT_EQ(r.log, (std::vector<std::string>{"a:260", "b:260", "c:260", "render", "a:261",
                                             "b:261", "c:261"}));
}

TEST(DeviceTest, ClearTakesTheCanvasColourOrder) {
  DeviceRig r;
  ASSERT_TRUE(r.device.Initialize());
  EXPECT_TRUE(r.device.Clear(0x80FF2010, false));  // alpha 80, blue FF, green 20, red 10
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(r.device.ReadBackBuffer(pixels));
  EXPECT_EQ(pixels[0], 0x801020FFu);
  EXPECT_EQ(swapRedBlue(0xFF0000FF), 0xFFFF0000u);
}

TEST(DeviceTest, DriverErrorResetsTheDevice) {
  DeviceRig r;
  ASSERT_TRUE(r.device.Initialize());
  r.soft().simulateDriverError();
  EXPECT_TRUE(r.device.Present());
  EXPECT_TRUE(r.device.Initialized());
}

TEST(DeviceTest, FinalizeNeedsADeviceAndTellsSubscribers) {
  DeviceRig r;
  EXPECT_FALSE(r.device.Finalize());
  EXPECT_FALSE(r.device.ResetDevice());
  EXPECT_FALSE(r.device.Present());
  ASSERT_TRUE(r.device.Initialize());
  r.log.clear();
  int finalized = 0;
  r.device.OnFinalize = [&](TAsphyreDevice&) { ++finalized; };
  EXPECT_TRUE(r.device.Finalize());
  EXPECT_EQ(finalized, 1);
  EXPECT_EQ(r.log, (std::vector<std::string>{"a:257", "b:257", "c:257"}));
  EXPECT_FALSE(r.device.Present());
}

TEST(DeviceTest, SubscribersDetachBothWays) {
  std::vector<std::string> log;
  Recorder kept{"k", log};
  {
    TAsphyreDevice device(std::move(createGraphicsDevice("soft", BackendOptions{true, "t"}).value()));
    {
      Recorder gone{"g", log};
      gone.SetDevice(&device);
      kept.SetDevice(&device);
      kept.SetDevice(&device);  // no duplicates
      EXPECT_EQ(device.SubscriberCount(), 2);
    }
    EXPECT_EQ(device.SubscriberCount(), 1);
    EXPECT_TRUE(device.Notify(NoticeBeginScene));
    EXPECT_EQ(log, (std::vector<std::string>{"k:260"}));
  }
  EXPECT_EQ(kept.Publisher(), nullptr);
}

TEST(DeviceTest, BackendsAreChosenByName) {
  EXPECT_TRUE(createGraphicsDevice("soft", {}).ok());
  EXPECT_TRUE(createGraphicsDevice("gl", {}).ok());
  const auto bad = createGraphicsDevice("d3d9", {});
  ASSERT_FALSE(bad.ok());
  EXPECT_NE(bad.error().message.find("d3d9"), std::string::npos);
}

}  // namespace
}  // namespace lum
