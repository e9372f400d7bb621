#pragma once

// The program's windows and its data module. Each exists exactly once, is
// created at start-up in the order below and lives until the program ends;
// windows are only shown and hidden. The globals are null before creation and
// after the roster is destroyed.
class TSplash;
class TForm8;
class TForm1;
class TForm7;
class TForm3;
class TForm5;
class TForm2;
class TForm6;
class TForm4;
class TDataModule1;
class TTableEdit;
class ParentsDialog;
class GrainsWindow;
class FindHistoriesWindow;

extern TSplash *Splash;               // 1  splash picture, start-up decision, closing check
extern TForm8 *Form8;                 // 2  "Model Constants"
extern TForm1 *Form1;                 // 3  wizard: intro
extern TForm7 *Form7;                 // 4  the main analysis window
extern TForm3 *Form3;                 // 5  "Geometry Calculation"
extern TForm5 *Form5;                 // 6  "Gamma Calculation"
extern TForm2 *Form2;                 // 7  wizard: grain parameters
extern TForm6 *Form6;                 // 8  wizard: calculated age
extern TForm4 *Form4;                 // 9  wizard: thermal history
extern TDataModule1 *DataModule1;     // 10 the data set every window is given
extern TTableEdit *TableEdit;         // 12 the table editor of the thermal curve
extern ParentsDialog *Parents;        // 13 "Parents": U, Th, Sm and their stopping distances
extern GrainsWindow *GrainsForm;      // 14 "Grains": a sample against the history
extern FindHistoriesWindow *FindForm; // 15 "Find Histories": what the sample allows

// Creates every window and the data module in creation order; only the splash
// window is shown. DestroyRoster deletes them in the reverse order.
void CreateRoster();
void DestroyRoster();
