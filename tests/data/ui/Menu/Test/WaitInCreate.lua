-- Create is defined before the main chunk waits; the rest must never run once the menu is gone.
function Create (menu)
    waitCreateCalls = (waitCreateCalls or 0) + 1
end
Script.WaitFrame (100)
resumedAfterWait = 1
