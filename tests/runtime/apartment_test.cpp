#include "platform/com/apartment.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(ApartmentTest, InitialisationsCountPerThread) {
  ASSERT_EQ(CoApartmentDepth(), 0u);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoApartmentDepth(), 2u);
  std::thread other([] {
    EXPECT_EQ(CoApartmentDepth(), 0u);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
  });
  other.join();
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoApartmentDepth(), 0u);
  CoUninitialize();  // unbalanced: nothing happens
  EXPECT_EQ(CoApartmentDepth(), 0u);
}

TEST(ApartmentTest, ModelsDontMixOnOneThread) {
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), RPC_E_CHANGED_MODE);
  EXPECT_EQ(CoApartmentDepth(), 1u);
  CoUninitialize();
  EXPECT_EQ(CoInitialize(reinterpret_cast<void*>(1)), E_INVALIDARG);
  EXPECT_EQ(CoApartmentDepth(), 0u);
}

TEST(ApartmentTest, OleInitialisationHoldsOneApartmentReference) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(CoApartmentDepth(), 1u);
  OleUninitialize();
  EXPECT_EQ(CoApartmentDepth(), 0u);
  OleUninitialize();  // without a matching initialisation: nothing
  EXPECT_EQ(CoApartmentDepth(), 0u);
}

}  // namespace
