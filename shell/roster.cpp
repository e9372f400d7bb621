#include "roster.h"

TSplash *Splash = nullptr;
TForm8 *Form8 = nullptr;
TForm1 *Form1 = nullptr;
TForm7 *Form7 = nullptr;
TForm3 *Form3 = nullptr;
TForm5 *Form5 = nullptr;
TForm2 *Form2 = nullptr;
TForm6 *Form6 = nullptr;
TForm4 *Form4 = nullptr;
TDataModule1 *DataModule1 = nullptr;
TTableEdit *TableEdit = nullptr;
ParentsDialog *Parents = nullptr;
GrainsWindow *GrainsForm = nullptr;
FindHistoriesWindow *FindForm = nullptr;
