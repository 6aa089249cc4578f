// The style screen: every tile style a block, the six slots of row 4 giving colours their styles.
#pragma once

void ShowStyleScreen();
