#include "platform/HyperLinkCommand.h"

CString HyperLinkCommandLine(const CString& openCommand, const CString& url) {
    CString command = openCommand;
    int cut = command.Find("\"%1\"");
    if (cut < 0) cut = command.Find("%1");
    if (cut >= 0) command = command.Left(cut);
    CString quoted = url;
    quoted.Replace("\"", "%22");
    command += " \"";
    command += quoted;
    command += "\"";
    return command;
}
