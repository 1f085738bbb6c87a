// The configure-time check of the floors, run on small source trees: a
// broken pattern would let every include through without a word.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace somv {
namespace {

namespace fs = std::filesystem;

struct CheckRun {
  bool passed;
  std::string output;
};

CheckRun CheckTreeWith(const std::string& file, const std::string& includeLine) {
  // One tree per process: other work trees may run these tests at once.
  const fs::path root = fs::temp_directory_path() / ("somv-floors-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories((root / file).parent_path());
  std::ofstream(root / file) << includeLine << "\n";
  const fs::path output = root / "output.txt";
  const std::string command = std::string("\"") + SOMV_CMAKE_COMMAND + "\" -DROOT=\"" + root.string() + "\" -P \"" +
                              SOMV_FLOORS_SCRIPT + "\" >\"" + output.string() + "\" 2>&1";
  const bool passed = std::system(command.c_str()) == 0;
  std::ifstream in(output);
  CheckRun run{passed, std::string(std::istreambuf_iterator<char>(in), {})};
  fs::remove_all(root);
  return run;
}

TEST(Floors, IncludesOnlyPointDown) {
  struct Case {
    const char* file;
    const char* includeLine;
    bool allowed;
  };
  const Case cases[] = {
      {"common/ordinal.cpp", "#include \"timer/timer_rules.h\"", false},
      {"device/a.cpp", "#include \"messages/catalogue.h\"", false},  // beside it
      {"console/a.cpp", "#include \"app/somv_app.h\"", false},
      {"resources/program/program.rc", "#include \"selection/somv_dlg.h\"", false},
      {"timer/a.h", "  #  include \"device/device_requests.h\"", true},
      {"selection/a.cpp", "#include \"selection/selection_rules.h\"", true},
      {"app/a.cpp", "#include \"tests/wine/support/scoped_files.h\"", true},  // no area
  };
  for (const Case& c : cases) {
    const CheckRun run = CheckTreeWith(c.file, c.includeLine);
    EXPECT_EQ(run.passed, c.allowed) << c.file << ": " << c.includeLine << "\n" << run.output;
    if (!c.allowed) {
      const std::string line(c.includeLine);
      const std::string named = std::string(c.file) + " includes " + line.substr(line.find('"'));
      EXPECT_NE(run.output.find(named), std::string::npos) << run.output;
    }
  }
}

}  // namespace
}  // namespace somv
