// An edit that shows one field of the router endpoint and writes what is typed (or set) into it.
#pragma once

#include "net/RouterEndpoint.h"

class QLineEdit;

namespace endpointedits {
enum class Field { Address, Community, WriteCommunity };
// The edit takes the field's value now, follows the model, and every change of its text goes to it.
void bind(QLineEdit* edit, RouterEndpoint& endpoint, Field field);
} // namespace endpointedits
