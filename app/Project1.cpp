#include "framework/Application.h"

int main(int argc, char** argv)
{
    fw::TApplication application(argc, argv);
    application.SetTitle(QStringLiteral("Glyphwell"));
    return application.exec();
}
