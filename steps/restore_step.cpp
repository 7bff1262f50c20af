// Step three: restore the initial database through the command component.
#include "ui/ff.h"

void TForm1::BitBtn4Click(TObject*) {}
