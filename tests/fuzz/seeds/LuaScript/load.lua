f = load("return 1")
WaitSvarTrue(70)
