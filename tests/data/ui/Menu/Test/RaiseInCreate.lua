-- A Create that fails.
function Create (menu)
    error ("the test's own failure")
end
