// What the player sees and hears of the rules: the listeners of the board's events.
#pragma once

// Connects every hook of Board_Events to its sounds, fragments, particles, pop-up text, board
// slide, profile write and message box. Start-up calls it first of all; tests that look at
// effects call it in their set-up.
void InstallBoardEffects();
// No fragment flying, no particle, no board sliding away, no level number, no link lit.
void ResetBoardEffects();
