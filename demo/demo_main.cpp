// The customiser on a virtual receiver; see corsaro270-demo --help.
#include "demo/demo.h"

int main(int argc, char** argv) {
  return RunDemo(argc, argv);
}
