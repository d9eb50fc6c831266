// Keeps the support library non-empty while the folder fills up.
