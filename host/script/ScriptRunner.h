// The scripted host: runs commands from a script, one per line, and writes what happened to the
// transcript in a stable form that a test compares with an expected transcript.
//
// A script is UTF-8. Blank lines and lines starting with "#" are skipped; words are separated by blanks,
// and a word in double quotes may hold blanks. "@WORK@" stands for the host's current folder and
// "@DATA@" for the data folder given on the command line. Each command is echoed as "> command".
// Lines starting with "time " carry measured times; they differ from run to run.
//
// A command line is its name and its arguments. A wrong number of arguments is an error before the
// command runs ("NAME takes N argument(s)", or for a command that takes a list what it takes; `answer`
// takes one argument, or two after "text"); so is an unknown name ("unknown command NAME"). An error
// is written as "error: ..." and counted, and the script goes on with the next line. After each
// command but `answer` and `while-open`, answers that no dialog took and dialogs that found no answer
// count as failures.
//
// The commands, by concern (texts are converted to code page 932 where they reach the plug-in). The
// table that names their handlers and argument counts is in ScriptRunner.cpp; the handlers are declared
// in ScriptCommands.h.
//
// Plug-in calls (ScriptPluginCommands.cpp):
//   load                      load the plug-in, find its exports, ask its name
//   load-refused              the plug-in must refuse to load (its DllMain fails): the reason
//   name SIZE | explanation SIZE      OQXGetName / OQXGetExplanation into a buffer of SIZE
//   ini PATH                  OQXSetInitFile
//   begin | end               OQXBeginPlugin / OQXEndPlugin, timed
//   free                      unload the plug-in
//   menu                      the plug-in menu as the host last rebuilt it
//   get-menu N                OQXGetMenu(N) on a fresh record
//   click ITEM PAD            OQXMenuClick(ITEM, the click value of pad PAD, counted from 1)
//   click-value ITEM VALUE    OQXMenuClick(ITEM, VALUE)
//   set PAD KEY VALUE | show PAD      change a pad's setting as its owner would / list all 24
//   refuse KEY | fail-get KEY | fake-get KEY TEXT | normal KEY     faults of the host API per setting
//   menu-cost ROUNDS          times OQXGetMenu over the whole menu, ROUNDS times
//   cycle ROUNDS INI CLASS... load, begin with INI, open the editor, end, free, ROUNDS times; then no window
//                             of the thread and none of the window classes named may be left
//
// Input (ScriptInputCommands.cpp):
//   answer ok | cancel | close | text TEXT     the answer for the next dialog that opens
//   windows | press CAPTION LABEL | pump MS    top-level windows, clicking their buttons, the message loop
//   keys KEY...               typed through the input queue, one after the other ("ctrl+r", "down", "tab")
//   list CAPTION N            the rows of list box N (from 1) of a window, selected ones marked "*"
//   drag CAPTION N FROM TO    drags row FROM of that list box onto row TO with the mouse
//   while-open ... end-while  the commands between run while the dialog of the answer queued last is
//                             open, before that answer is given (a block holds no while-open)
//   pad-windows | pads-enabled        a window per pad, as the windowed host shows them / whether each
//                             is enabled
//
// Files and transcripts (ScriptFileCommands.cpp):
//   mkdir PATH | copy FROM TO | delete PATH | exists PATH | lock PATH | unlock PATH
//   hold PATH MS              holds the file as a virus scanner does (others may read and write it, not
//                             replace it) for MS milliseconds, or with 0 until `unlock`
//   file PATH ... end-file    writes the lines between as code page 932, each ending in CR LF
//   gen-ini PATH COUNT        a plug-in INI file with COUNT designs, laid out as the plug-in writes it
//   compare A B               byte for byte
//   golden FILE TEMPLATE      FILE against TEMPLATE (UTF-8, "@WORK@" expanded) as code page 932 with CR LF
//   print PATH                a file, line by line
#pragma once

#include <string>
#include <vector>

#include "host/Host.h"
#include "host/script/DialogWatcher.h"
#include "host/script/ScriptSession.h"

namespace lumisk::host {

class ScriptRunner {
 public:
  // `pluginPath` is what `load` loads; `dataFolder` (UTF-8) replaces "@DATA@".
  ScriptRunner(Host& host, DialogWatcher& watcher, std::wstring pluginPath, std::string dataFolder);
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs the script's lines; the number of failures (errors, failed checks, dialogs nobody answered,
  // answers no dialog took).
  int run(const std::vector<std::string>& lines);

 private:
  // Runs each line as a command. A block (while-open) runs in the middle of a command: the answers and
  // dialogs that command left are counted when it ends, not after each line of the block.
  void runLines(const std::vector<std::string>& lines, bool block);

  ScriptSession session_;
};

}  // namespace lumisk::host
