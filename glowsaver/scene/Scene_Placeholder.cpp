// Keeps the scene library non-empty until its units land.
