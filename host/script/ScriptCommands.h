// The handlers of the script commands, one per command, by concern; ScriptRunner.cpp holds the table
// that names them with their argument counts, and ScriptRunner.h says what each command does.
//
// A handler is called with the words after the command's name, already counted against the table. It
// writes what happened to the transcript; a check that does not hold is a failure (ScriptSession::fail)
// and the script goes on; an error the script cannot go past (no plug-in loaded, a word that is not a
// number) is a std::runtime_error, which the runner writes as "error: ..." and counts.
#pragma once

#include "host/script/ScriptSession.h"

namespace lumisk::host::commands {

using Handler = void (*)(ScriptSession& session, ScriptArgs args);

// Plug-in calls (ScriptPluginCommands.cpp): the exports as the host calls them, the pads the plug-in
// reads and writes through the host API and the faults of that API, the time limits, the load/free cycle.
void load(ScriptSession& session, ScriptArgs args);
void loadRefused(ScriptSession& session, ScriptArgs args);
void getName(ScriptSession& session, ScriptArgs args);
void getExplanation(ScriptSession& session, ScriptArgs args);
void setInitFile(ScriptSession& session, ScriptArgs args);
void beginPlugin(ScriptSession& session, ScriptArgs args);
void endPlugin(ScriptSession& session, ScriptArgs args);
void freePlugin(ScriptSession& session, ScriptArgs args);
void printMenu(ScriptSession& session, ScriptArgs args);
void getMenu(ScriptSession& session, ScriptArgs args);
void clickPad(ScriptSession& session, ScriptArgs args);
void clickValue(ScriptSession& session, ScriptArgs args);
void setValue(ScriptSession& session, ScriptArgs args);
void showPad(ScriptSession& session, ScriptArgs args);
void refuse(ScriptSession& session, ScriptArgs args);
void failGet(ScriptSession& session, ScriptArgs args);
void fakeGet(ScriptSession& session, ScriptArgs args);
void normal(ScriptSession& session, ScriptArgs args);
void menuCost(ScriptSession& session, ScriptArgs args);
void cycle(ScriptSession& session, ScriptArgs args);

// Input (ScriptInputCommands.cpp): answers for the dialogs to come and what to do while one is open,
// the windows of the thread and the pads' windows, keys, clicks and drags as a person gives them, the
// message loop.
void answer(ScriptSession& session, ScriptArgs args);
void listWindows(ScriptSession& session, ScriptArgs args);
void press(ScriptSession& session, ScriptArgs args);
void keys(ScriptSession& session, ScriptArgs args);
void printList(ScriptSession& session, ScriptArgs args);
void drag(ScriptSession& session, ScriptArgs args);
void pump(ScriptSession& session, ScriptArgs args);
void whileOpen(ScriptSession& session, ScriptArgs args);
void openPadWindows(ScriptSession& session, ScriptArgs args);
void padsEnabled(ScriptSession& session, ScriptArgs args);

// Files and transcripts (ScriptFileCommands.cpp): making, copying, locking and writing files, and
// comparing or printing what the plug-in wrote.
void makeFolder(ScriptSession& session, ScriptArgs args);
void copyFile(ScriptSession& session, ScriptArgs args);
void deleteFile(ScriptSession& session, ScriptArgs args);
void exists(ScriptSession& session, ScriptArgs args);
void lock(ScriptSession& session, ScriptArgs args);
void holdFile(ScriptSession& session, ScriptArgs args);
void unlock(ScriptSession& session, ScriptArgs args);
void writeFile(ScriptSession& session, ScriptArgs args);
void generateIni(ScriptSession& session, ScriptArgs args);
void compare(ScriptSession& session, ScriptArgs args);
void golden(ScriptSession& session, ScriptArgs args);
void print(ScriptSession& session, ScriptArgs args);

}  // namespace lumisk::host::commands
