// Grottoprint: turns the caves of a BDCFF game into BMP pictures and a web page.
#include "driver/run_sequence.h"

int main() {
  return RunGrottoprint();
}
