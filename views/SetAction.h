// A set action of a page: writes a value to one object and shows in its edit what the router then
// holds. An unanswered set shows "Set failed", the refusal on the status line and beeps; a set
// answered but not read back keeps the typed text and says so on the status line. The read-back
// goes to `readBackHost` when given (a changed router address). True when read back.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <QString>

class QLineEdit;

bool setAndReadBack(RouterSession& session, PageFrame& frame, QLineEdit* edit, const char* oid,
                    const QString& value, int valueType, QString (*shown)(const QString&),
                    const QString& refused, const QString& readBackHost = {});
// The status text of a set refused for the current community ("Is "x" community writable?").
QString notWritableStatus(const RouterEndpoint& endpoint);
// The same for a set of a named object ("Is the "x" community name writable?").
QString notWritableNameStatus(const RouterEndpoint& endpoint);
