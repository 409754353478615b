#include "framework/Application.h"

int main(int argc, char** argv)
{
    fw::TApplication application(argc, argv);
    application.setTitle(QStringLiteral("Glyphwell"));
    return application.exec();
}
