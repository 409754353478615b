#include "app/Startup.h"
#include "app/Unit1.h"
#include "framework/Application.h"

int main(int argc, char** argv)
{
    fw::TApplication application(argc, argv);
    application.setTitle(QStringLiteral("Glyphwell"));
    RealServices real;
    Windows windows = createWindows(real.services());
    windows.form1->show();
    return application.exec();
}
