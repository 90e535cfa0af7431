// End-to-end checks of the lumscript tool's output format and exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
};

fs::path Tool() { return fs::path(LUMRUN_BINARY_DIR) / "tools" / "lumscript"; }

Outcome RunTool(const std::string& args, const fs::path& dir) {
  Outcome o;
  const std::string command = "cd '" + dir.string() + "' && '" + Tool().string() + "' " + args + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return o;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) o.out.append(buffer, n);
  const int raw = pclose(pipe);
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return o;
}

class Lumscript : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Tool())) GTEST_SKIP() << "lumscript is not built";
    dir_ = fs::temp_directory_path() / ("lumscript_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  fs::path dir_;
};

TEST_F(Lumscript, PrintsVariablesInListOrderWithKinds) {
  Write("a.pas", "X := 1; R := 7 / 2; S := 'it''s'; B := 1 < 2; N := NOT 0; F := 0.1 + 0.2;");
  const Outcome o = RunTool("--var pre=5 --var Q=2.5 --var T=hello a.pas", dir_);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out,
            "PRE = int:5\nQ = real:2.5\nT = str:'hello'\nX = int:1\nR = real:3.5\n"
            "S = str:'it'\nB = bool:true\nN = byte:1\nF = real:0.30000000000000004\n");
}

TEST_F(Lumscript, ReportsRunErrorsWithSourceAndLogsThem) {
  Write("b.pas", "X := 1;\nY := X + Z;\nW := 2;");
  const Outcome o = RunTool("--log err.log b.pas", dir_);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "X = int:1\nerror 3: Variable not found: Z\nsource: X + Z  \n");
  std::ifstream log(dir_ / "err.log", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, "Not var NIL Z (in  \r\nVariable not found: Z (X + Z   in ) \r\n");
}

TEST_F(Lumscript, PrepareErrorComesFirstAndTheRunStillHappens) {
  Write("c.pas", "X := 1;\nINCLUDE 'Missing.pas';\nY := 2;");
  const Outcome o = RunTool("c.pas", dir_);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "prepare-error 25: Can't open file \"\x7f" "B'Missing.pas'\", error code 2\nX = int:1\n");
}

TEST_F(Lumscript, IncludeFilesResolveWithoutRegardToCase) {
  Write("lib.pas", "PROCEDURE Twice(V); V := V * 2;");
  Write("d.pas", "USES 'LIB.PAS'; A := 4; TWICE(A);");
  const Outcome o = RunTool("d.pas", dir_);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "A = int:8\n");
}

TEST_F(Lumscript, EvalTokensAndUsage) {
  EXPECT_EQ(RunTool("--eval \"2 ^ 3 ^ 2\"", dir_).out, "real:64\n");
  const Outcome bad = RunTool("--eval \"'A' + 2\"", dir_);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "error 5: Invalid operand types for \"+\"\nsource: 'A' + 2  \n");
  Write("t.pas", "if a<>b then x:=1");
  EXPECT_EQ(RunTool("--tokens t.pas", dir_).out, "33 IF\n1 A\n12 <>\n1 B\n34 THEN\n1 X\n30 :=\n2 1\n");
  EXPECT_EQ(RunTool("", dir_).status, 2);
  EXPECT_EQ(RunTool("missing.pas", dir_).status, 2);
}

}  // namespace
