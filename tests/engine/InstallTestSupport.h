// Helpers of the install component tests: a windowless application and an install whose
// record lookup is left out.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/cmp_TInstall.h"
#include "rtl/ProgramArguments.h"

namespace qnl::test {

// An install component that finds no install record, so that start-up needs no registry.
class TRecordlessInstall : public TInstall {
public:
  using TInstall::TInstall;
  std::string FindInstallRecord(bool) override { return ""; }
  int ProcessCalls = 0;
  void Process() override {
    ++ProcessCalls;
    TInstall::Process();
  }
  // The run mode the loaded notification chose ("build", "floppies a:", "continue").
  std::string ChosenMode;
  void RunBuildMode() override { ChosenMode = "build"; }
  void TransferToFloppies(const std::string& Drive) override { ChosenMode = "floppies " + Drive; }
  void ContinueAfterReboot() override { ChosenMode = "continue"; }
};

// Each test gets a fresh windowless application and no program arguments.
class InstallTest : public ::testing::Test {
protected:
  void SetUp() override {
    FApp = std::make_unique<TCustomApplication>();
    SetApplication(FApp.get());
    SetProgramArguments(std::vector<std::string>{});
  }
  void TearDown() override {
    FForm.reset();
    SetApplication(nullptr);
    FApp.reset();
    SetProgramArguments(std::vector<std::string>{});
  }
  // A form with the standard specifiers and an install component, as after streaming.
  TRecordlessInstall* NewInstall() {
    FForm = std::make_unique<TCustomForm>(nullptr);
    return new TRecordlessInstall(FForm.get());
  }

public:
  // The loaded notification with these program arguments.
  static void Load(TComponent* Component, std::vector<std::string> Args) {
    SetProgramArguments(std::move(Args));
    Component->SetComponentStateFlag(csLoading, true);
    Component->Loaded();
  }

protected:
  std::unique_ptr<TCustomApplication> FApp;
  std::unique_ptr<TCustomForm> FForm;
};

} // namespace qnl::test
