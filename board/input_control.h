// The player's hand on a board screen: mouse and touch drags, the keyboard cursor and its hold.
#pragma once

extern int Hover_Menu;   // Menu id of the label under the mouse, -1 for none

// Once per frame on board screens: press, drag, release, quick click on a label, hover.
void MouseControl();
// One arrow key: direction 0 right, 1 down, 2 left, 3 up.
void MoveByKey(int direction);
// Enter or Space: show the cursor, take the group under it, or let go.
void HandleSelectKey();
// One step of the group at cell (x, y) in direction dir (0 right, 1 down, 2 left, 3 up; -1 takes
// hold without a step, which clears a colour already whole), played as the player's own move:
// heard, recorded for undo and counted. Nothing while the mouse holds a group. 1 when done.
int PlayStepOf(int x, int y, int dir);
