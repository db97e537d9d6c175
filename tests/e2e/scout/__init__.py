"""The end-to-end driver's parts; driver.py runs one group of them."""
