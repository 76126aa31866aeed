-- The names a test menu registered and the menu its Create was handed, for the test to read.
function Create (menu)
    seenStatic, seenA, seenB, seenC = C_STATIC, C_A, C_B, C_C
    seenMenu = menu
    createCalls = (createCalls or 0) + 1
end
