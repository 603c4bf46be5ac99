#include "EmtApplication.h"

#include <csignal>

int main(int argc, char *argv[]) {
  // A write to a pipe whose reader has gone must fail, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  {
    EmtApplication application(argc, argv);
    application.run();
  }
  return 0;
}
