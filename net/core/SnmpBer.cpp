#include "net/core/SnmpBer.h"
