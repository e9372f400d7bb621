#include "roster.h"

#include "application.h"
#include "calculationpage.h"
#include "datamodule.h"
#include "moddatform.h"
#include "tableedit.h"
#include "tform3.h"
#include "tform5.h"
#include "tform7.h"
#include "tsplash.h"

void CreateRoster() {
    Splash = new TSplash;
    Form8 = new TForm8;
    Form7 = new TForm7;
    Form3 = new TForm3;
    Form5 = new TForm5;
    DataModule1 = new TDataModule1;
    TableEdit = new TTableEdit;

    Form7->ClosingCheck = [] { Splash->ClosingCheck(); };
    Splash->Pages = {Form3, Form5, Form7};
    Splash->show();
}

void DestroyRoster() {
    // Windows closing now must not run the closing check on a half-gone roster.
    endProgram();
    // A run still going would outlive the model it reads or writes.
    for (CalculationPage *page :
         {static_cast<CalculationPage *>(Form3), static_cast<CalculationPage *>(Form5)})
        if (page)
            page->StopRun();
    delete TableEdit;
    TableEdit = nullptr;
    delete DataModule1;
    DataModule1 = nullptr;
    delete Form5;
    Form5 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Form7;
    Form7 = nullptr;
    delete Form8;
    Form8 = nullptr;
    delete Splash;
    Splash = nullptr;
}
