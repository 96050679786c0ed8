// The setup program's command-line grammar.
#include <gtest/gtest.h>

#include "common/exceptions_Quenloft.h"
#include "engine/TCommandLine.h"

using namespace qnl;

namespace {
TCommandLine Parsed(std::vector<std::string> Args) {
  TCommandLine line;
  line.Parse(Args);
  return line;
}

std::string InvalidMessage(const std::string& Arg) {
  return "Invalid parameter <" + Arg +
         ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called by "
         "self-extractor), -r (After reboot)";
}

void ExpectInvalid(const std::string& Arg) {
  try {
    Parsed({"-s", Arg});
    ADD_FAILURE() << "accepted " << Arg;
  } catch (const IException& e) {
    EXPECT_EQ(std::string(e.what()), InvalidMessage(Arg));
  }
}
} // namespace

TEST(CommandLine, NoArgumentsGiveNoSwitches) { EXPECT_TRUE(Parsed({}).Switches().Empty()); }

TEST(CommandLine, EachLetterSelectsItsSwitchInEitherCase) {
  struct Row {
    const char* Arg;
    TInstallSwitch Sw;
  };
  for (Row row : {Row{"-b", swBuild}, Row{"-F", swFloppies}, Row{"-d", swDebug}, Row{"-E", swSelfExtractor},
                  Row{"-r", swAfterReboot}, Row{"-S", swSourcePath}, Row{"-c", swCleanup}}) {
    TCommandLine line = Parsed({row.Arg});
    EXPECT_TRUE(line.Has(row.Sw)) << row.Arg;
    EXPECT_EQ(line.Switches(), TInstallSwitches{row.Sw}) << row.Arg;
  }
}

TEST(CommandLine, TheArgumentIsTheTextFromTheThirdCharacterOn) {
  TCommandLine line = Parsed({"-sC:\\Dist", "-eSetup.exe", "-s"});
  EXPECT_EQ(line.Argument(swSelfExtractor), "Setup.exe");
  EXPECT_EQ(line.Argument(swSourcePath), ""); // the later -s replaces the earlier one
  EXPECT_EQ(Parsed({"-sC:\\Dist"}).Argument(swSourcePath), "C:\\Dist");
  EXPECT_EQ(Parsed({"-sC:\\My Build"}).Argument(swSourcePath), "C:\\My Build");
}

TEST(CommandLine, AnAsteriskWorksLikeAHyphen) {
  TCommandLine line = Parsed({"*b"});
  EXPECT_EQ(line.Switches(), TInstallSwitches{swBuild});
  EXPECT_EQ(Parsed({"*sD:\\x"}).Argument(swSourcePath), "D:\\x");
}

TEST(CommandLine, AnAsteriskWithAnUnknownLetterIsIgnored) {
  EXPECT_TRUE(Parsed({"*TODISK"}).Switches().Empty());
  EXPECT_TRUE(Parsed({"*x", "*1"}).Switches().Empty());
  EXPECT_EQ(Parsed({"*TODISK", "-r"}).Switches(), TInstallSwitches{swAfterReboot});
}

TEST(CommandLine, InvalidArgumentsFailWithTheMessage) {
  for (const char* arg : {"-x", "-", "b", "", "*", "/b", "x-b", "-1", "-TODISK"}) ExpectInvalid(arg);
}

TEST(CommandLine, AnArgumentHoldingPercentSignsIsQuotedAsItIs) { ExpectInvalid("%s%d"); }

TEST(CommandLine, ClearForgetsEverything) {
  TCommandLine line = Parsed({"-sC:\\a", "-c"});
  line.Clear();
  EXPECT_TRUE(line.Switches().Empty());
  EXPECT_EQ(line.Argument(swSourcePath), "");
}
