# The help pages in reading order with their titles: the help file's contents, its file list, the
# manual's chapters and the desktop program's own help window all follow this one list.
set(KELDOVAR_HELP_PAGES
  "index.html|Welcome to KELDOVAR"
  "getting-started.html|Getting started: a first regime"
  "stands.html|The three kinds of stand"
  "commands.html|Commands"
  "dialogs.html|Dialogs: fields, ranges and messages"
  "tables.html|Reading the report tables"
  "thinning.html|The thinning methods compared"
  "financial.html|The financial analysis"
  "sensitivity.html|Sensitivity, break-even and risk"
  "compare.html|Comparing regimes"
  "carbon.html|Carbon: biomass, wood products and carbon payments"
  "units.html|Metric units"
  "messages.html|Messages"
  "stand-file.html|The stand file"
  "batch.html|The batch runner and its script language"
  "inventory.html|A whole forest: inventories of stands"
  "python.html|Python, Dask and Slurm"
  "settings.html|Settings and where they live"
  "model.html|About the model"
)
