// The board's events turned into sounds, fragments, particles, the pop-up caption and slide of a
// chosen menu option, the profile written for a new style, and messages about files.
#include "fx/board_effects.h"

#include "app/assets.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/board_events.h"
#include "board/moves.h"
#include "fx/board_scene.h"
#include "fx/fragments.h"
#include "fx/particles.h"
#include "levels/pending_wins.h"
#include "persist/profile.h"

void ResetBoardEffects() {
  FX_List.clear();
  Particle_List.clear();
  Menu_Slide = 0;
  Menu_Slide_Start = 0;
  Menu_Slide_Offset = 0;
  Time_Icon_Until = 0;
  Link_Hover = 0;
}

void InstallBoardEffects() {
  BoardEvents& e = Board_Events;
  // Particles ride on the blocks of some styles from the moment a block is made.
  e.Block_Made = [](T_BLOCK* b) {
    int style = b->Style();
    b->FXMode = style >= 0 ? Style_FX_Mode[style] : 0;
    if (b->FXMode != 0) T_PARTICLE::AddParticles(b, b->FXMode, 3);
  };
  e.Block_Removed = [](T_BLOCK* b) { T_PARTICLE::RemoveParticle(b); };
  e.Block_Expired = [](T_BLOCK* b) { T_PARTICLE::ExplodeParticle(b); };
  e.Board_Cleared = [] { Particle_List.clear(); };
  e.Groups_Merged = [] { PlayEffect(Sfx_Merge); };
  e.Group_Stepped = [] { PlayMoveSound(); };
  // The fragments wait out the flash, then fly on in the direction of the last step.
  e.Colour_Completed = [](int dx, int dy) {
    T_FX::ExplodeSelectedBlocks(Colour_Flash_Time, dx, dy);
    PlayEffect(Sfx_Disappear);
  };
  // The caption pops up and the board slides away once the fragments are well on their way.
  e.Menu_Option_Chosen = [](int menu) {
    StartPopText(menu);
    Menu_Slide = 1;
    Menu_Slide_Start = Now + 1000;
    Menu_Slide_Offset = 0;
  };
  // A style chosen on the style board is kept at once.
  e.Style_Row_Changed = [](int changed) {
    for (int i = 0; i < changed; i++) PlayEffect(Sfx_Click);
    WriteProfile(Profile_File);
  };
  e.Step_Undone = [] { PlayEffect(Sfx_Undo); };
  // A redone step is a step played again: it sounds like one.
  e.Step_Redone = [] { PlayMoveSound(); };
  e.File_Problem = [](const String& text) { ShowMessage(text, 0); };
  // Wins are kept on disk from the move that wins them until the best scores hold them.
  e.Winning_Step = [](int moves) { NoteWinningStep(Level_Index, moves, Level_Elapsed); };
  e.Winning_Step_Undone = [] { TakeBackWinningStep(); };
  e.History_Ending = [] { SettlePendingWins(); };
  e.Win_Waiting = [] { return HavePendingWins(); };
}
