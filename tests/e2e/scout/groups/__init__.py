"""One module a group: its scenario tables and the steps that run them."""
