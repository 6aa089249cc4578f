// Definitions of the shell's global state.
#include "app/state.h"

int64_t Now = 0;
int64_t Start_Time = 0;
int Mouse_X = 0, Mouse_Y = 0;
int Mouse_Z = 0;
int Mouse_Hit = 0;
int Mouse_Down = 0;
int Mouse_Right_Hit = 0;
int Key_Char = -1;
int Touch_Mode = 0;
int Own_Cursor = 0;

int Current_Screen = 0;
int Return_Screen = 1;
int Previous_Screen = 0;

String User_Data_Dir;
String Language_Dir;
String Undo_File;
String Profile_File;
String Best_Scores_File;
String Catalogue_Url;
String Font_Url;
String Language_File;

const String Version_Number = u"1.4.0";
String Version_Label;
String Profile_Version;

int64_t ReadClock() { return static_cast<int64_t>(Millisecs() & 0x7FFFFFFFu); }
