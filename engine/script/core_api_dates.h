#pragma once

#include "squirrel/squirrel.h"

// Core script functions over dates. A date table holds the integer slots "_day", "_dayOfWeek"
// (0 = Sunday), "_month" (1..12), "_year" (four digits), "_hour", "_min" and "_sec", in local
// time.

// () -> date table: now.
squirrel::Object core_GetDate(squirrel::CallContext& call);
// (date table, seconds) -> date table: a new table for the date plus the whole seconds;
// months, years and daylight saving time changes carry over.
squirrel::Object core_AddTime2Date(squirrel::CallContext& call);
