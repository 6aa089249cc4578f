// The making screen: what the player sees while a random level is being made.
#pragma once

// The words and the six colours taking turns to hop, drawn over the menu background.
void DrawMakingLevel();
