// The random level in play, the worker that makes one, the level of the day and level codes.
#include "levels/random_level.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "i18n/language.h"
#include "levels/catalogue.h"
#include "ui/menu.h"

RandomLevel Random_Level;
int Making_Level = 0;
int64_t Making_Since = 0;

namespace {

// The worker owns Made and Made_Ok until it raises Done; the frame loop reads them only after.
std::thread Worker;
std::atomic<bool> Done{false};
std::atomic<bool> Cancel{false};
LevelCode Making_Code;
MadeLevel Made;
bool Made_Ok = false;
std::vector<std::string> Catalogue_Key_List;
bool Catalogue_Keys_Read = false;

const std::vector<std::string>& CatalogueKeyList() {
  if (!Catalogue_Keys_Read && Official_Bank) {
    Catalogue_Key_List = CatalogueKeys(Official_Bank->Bytes.data(), BufferSize(Official_Bank) / Level_Record_Size);
    Catalogue_Keys_Read = true;
  }
  return Catalogue_Key_List;
}

void JoinWorker() {
  if (Worker.joinable()) Worker.join();
  Making_Level = 0;
}

}  // namespace

void ResetRandomLevel() {
  StopMakingLevel();
  Random_Level = RandomLevel();
  Making_Since = 0;
}

bool PlayingRandomLevel() { return Level_Index == -1 && Random_Level.Active != 0; }

int TodayNumber() {
  int year = 1970, month = 1, day = 1;
  LocalDate(&year, &month, &day);
  return DayNumber(year, month, day);
}

void StopMakingLevel() {
  if (!Worker.joinable()) return;
  Cancel = true;
  JoinWorker();
}

void StartMakingLevel(const LevelCode& code) {
  StopMakingLevel();
  // A worker still running when the program ends would end it with an error instead.
  static const bool stop_at_exit = std::atexit([] { StopMakingLevel(); }) == 0;
  (void)stop_at_exit;
  GotoScreen(Screen_Making_Level);
  Making_Code = code;
  Making_Level = 1;
  Making_Since = Now;
  Done = false;
  Cancel = false;
  Made_Ok = false;
  const std::vector<std::string>& keys = CatalogueKeyList();
  Worker = std::thread([code, &keys] {
    Made_Ok = MakeRandomLevel(code, keys, &Cancel, Made);
    Done.store(true, std::memory_order_release);
  });
}

void StartRandomLevel(int difficulty) {
  LevelCode code;
  code.seed = FreshSeed();
  code.difficulty = difficulty;
  StartMakingLevel(code);
}

void StartLevelOfDay() { StartMakingLevel(DayLevelCode(TodayNumber())); }

void UpdateMakingLevel() {
  if (!Making_Level || !Done.load(std::memory_order_acquire)) return;
  JoinWorker();
  if (!Made_Ok) {
    GotoScreen(Screen_Difficulty);
    return;
  }
  SetBoardCells(Made.cells.data());
  Level_Index = -1;
  Random_Level.Active = 1;
  Random_Level.Code = Making_Code;
  Random_Level.Par = Made.par;   // the par the level is played against (StartPlay)
  Return_Screen = Screen_Difficulty;
  EnterPlay(1);
}

bool WaitForMadeLevel(int max_ms) {
  for (int waited = 0; Making_Level && !Done.load(std::memory_order_acquire); waited += 5) {
    if (waited >= max_ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool StartLevelFromCode(const std::string& text) {
  LevelCode code;
  if (!ParseLevelCode(text, code)) {
    ShowMessage(u"Not a level code: " + FromUtf8(text), 0);
    return false;
  }
  StartMakingLevel(code);
  return true;
}

String RandomLevelTitle() {
  return Translate(Random_Level.Code.daily ? u"Daily Level" : u"Random Level");
}

String RandomLevelDate() {
  return Random_Level.Code.daily ? FromUtf8(DayText(static_cast<int>(Random_Level.Code.seed))) : String();
}

String RandomLevelCodeLine() { return Translate(u"Level Code") + FromUtf8(LevelCodeText(Random_Level.Code)); }
