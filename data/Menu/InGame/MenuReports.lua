-- MenuReports.lua: the reports hub's script. The hub lays out its own buttons (C_SUMMARY,
-- C_POWER, C_MAINT, C_EMPLOYEES, C_DONE); Create adds nothing to them.

function Create(menu)
end
