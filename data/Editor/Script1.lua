-- An editor script, run from the editor's "Scripts" menu.
System.OutputDebugString("Editor Script1 ran\n")
