// Keeps a library whose sources have not been written yet buildable.
