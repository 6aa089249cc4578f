// The victory screen: the verdict and times as swaying text lines over a looping replay of the
// won level, rewinding and playing forward from its undo history.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "platform/platform.h"

class T_VICTORY_LINE {
 public:
  String Text;
  int cX = 0;        // base x of the left edge, board pixels
  int cY = 0;        // top edge, board pixels
  int Mode = 0;      // 0 fixed at cX; 1 fixed, centred; 2 centred, swaying; 3 sliding in, then 2
  int Color = 0;     // 0 white, 1 red, 2 pulsing yellow-green, 3 pulsing red-orange-yellow
  int64_t Timer = 0; // end of the slide-in (mode 3), 0 afterwards
  int Time = 0;      // length of the slide-in, ms
  float fX = 0, fY = 0, vX = 0, vY = 0;   // vX: sway amplitude, pixels

  // A new line at the end of Victory_Lines; centred modes measure the text in the font set now.
  static T_VICTORY_LINE* Add(const String& text, int mode, int y, int x, int colour);
  // Where the left edge goes at Now; ends the slide-in once it is over.
  int PlaceX();
  void Draw();
};

extern std::list<T_VICTORY_LINE> Victory_Lines;   // in the order added

// Where each line was drawn in the last frame and in which colour, for the test driver.
struct VictoryLinePlace {
  int X, Y, Width, Height;
  int Red, Green, Blue;
};
extern std::vector<VictoryLinePlace> Victory_Line_Places;

// The replay: the won level's undo history, shown one step per 50 ms.
extern ByteBuffer* Replay_Buffer;
extern int Replay_Count;        // whole steps in Replay_Buffer
extern int Replay_Index;        // step shown next
extern int Replay_Direction;    // 0 backward, 1 forward
extern int64_t Replay_Deadline; // Now of the next replay step, 0 when due

// Builds the verdict and the replay of the level just won, after its time has been recorded
// and before its undo history is deleted.
void SetUpVictory();
void UpdateVictory();
// Lays out step i of the replay; a step the replay does not have shows an empty board.
void ShowReplayStep(int i);
// The replay under a dark veil, the cheer over it, then the lines, each with a dark rim round
// its letters, and the hand.
void DrawVictoryScreen();
// The hand that clicks beside the side bar every 512 ms, inviting the click that leaves.
void DrawVictoryHand();
