// COleDateTime: a date and time as the OLE date (days since 1899-12-30, the time as the fraction) with a status.
// Holds only the value and its status for now; arithmetic and formatting come when a caller needs them.
#pragma once

#include "classlib/ClassLibBase.h"

#include <wtypes.h>  // DATE

class COleDateTime
{
public:
    enum DateTimeStatus : LONG
    {
        valid = 0,
        invalid = 1,
        null = 2,
    };

    COleDateTime() = default;
    explicit COleDateTime(DATE value) : m_dt(value) {}

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;
};
