// vellano-check [FOLDER] [--repair] [--balances]: checks a data folder (the working folder
// without one) the way fsck checks a disk. Each finding is one line; the exit status is 0
// when nothing is found, 1 when something is (after --repair: when something is left), 2 when
// the folder cannot be checked.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "outside/folder_audit.h"

namespace {

int usage() {
  std::fprintf(stderr, "uso: vellano-check [CARTELLA] [--repair] [--balances]\n");
  return 2;
}

void print(const std::vector<vellano::outside::Finding>& findings) {
  for (const auto& f : findings) std::printf("%s\n", f.line().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool repair = false;
  bool balances = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repair") repair = true;
    else if (arg == "--balances") balances = true;
    else if (arg.rfind("--", 0) == 0 || !folder.empty()) return usage();
    else folder = arg;
  }
  try {
    if (!folder.empty()) std::filesystem::current_path(folder);
    std::vector<vellano::outside::Finding> findings = vellano::outside::checkFolder();
    print(findings);
    if (repair && !findings.empty()) {
      for (const std::string& change : vellano::outside::repairFolder()) std::printf("riparato: %s\n", change.c_str());
      findings = vellano::outside::checkFolder();
      if (!findings.empty()) std::printf("resta da verificare a mano:\n");
      print(findings);
    }
    if (balances)
      for (const std::string& line : vellano::outside::balanceListing(vellano::outside::folderBalances()))
        std::printf("%s\n", line.c_str());
    return findings.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vellano-check: %s\n", e.what());
    return 2;
  }
}
