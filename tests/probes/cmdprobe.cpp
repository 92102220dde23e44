// Test helper started by the command runner: writes each argument after the first on its own
// line into the file the first argument names, then ends with status 7 so that a test sees
// the exit status come through.
#include <fstream>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::ofstream out(argv[1], std::ios::binary);
  for (int i = 2; i < argc; ++i) out << argv[i] << '\n';
  return out ? 7 : 3;
}
