// The customiser for a real receiver. It reads no command line.
#include "app/startup.h"

int main() {
  return RunCustomiser();
}
