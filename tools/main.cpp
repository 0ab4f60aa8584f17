// The tavorin command-line tool.
#include <iostream>

#include <tavorin/tavorin.h>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::cout << "tavorin: nothing to show yet\n";
  return 0;
}
