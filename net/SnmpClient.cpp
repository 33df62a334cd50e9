#include "net/SnmpClient.h"
