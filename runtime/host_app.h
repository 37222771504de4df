// The host application object: the runtime state's owner and the only thing a program's main()
// touches. It installs the state, runs the application's entry routine inside its initialisation
// and the end sequence inside its exit, and gives the message loop its idle and message
// pre-translation operations.
// Contract:
// - One HostApplication at a time per process (it installs its state as the current one).
// - run() = initialise() then exit(); it answers the exit code of an orderly end (0).
// - initialise() stores the program directory with its trailing backslash and calls the entry
//   routine with the service table; the entry routine's result is the result.
// - on_idle(count) answers whether more idle time is wanted; the default asks the window system.
// - pre_translate(msg) answers true to drop the message; the default asks the window system.
#pragma once

#include "platform/api/messages.h"
#include "runtime/abi/image.h"
#include "runtime/abi/service_table.h"
#include "runtime/state.h"

namespace runtime {

class HostApplication {
 public:
  HostApplication(const ImageHeader& image, EntryRoutine entry);
  virtual ~HostApplication();
  HostApplication(const HostApplication&) = delete;
  HostApplication& operator=(const HostApplication&) = delete;

  int run();
  int initialise();
  int exit();

  virtual bool on_idle(long count);
  virtual bool pre_translate(MSG& message);

  RuntimeState& state() { return state_; }

 private:
  RuntimeState state_;
  StateInstallation installation_;
  EntryRoutine entry_;
};

// A program's whole life: construct the host for this image and entry routine, run it, answer
// the exit code for main() to return.
int run_program(const ImageHeader& image, EntryRoutine entry);

}  // namespace runtime
